// Reads and writes single registry values by a path below a base key; the
// kind of value decides how it is stored.
#pragma once

#include <windows.h>

#include <string>

#include "components/core/BrkApart.h"
#include "components/core/RegistryValue.h"
#include "runtime/core/SysUtils.h"

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

enum TRootKey { hkClassesRoot, hkCurrentConfig, hkCurrentUser, hkDynData, hkLocalMachine, hkUsers };
enum TAccess { kRead, kWrite, kExecute, kAllAccess };

HKEY RootKeyHandle(TRootKey k);
REGSAM AccessMask(TAccess a);

class TRegistryEnhanced : public TComponent {
public:
    explicit TRegistryEnhanced(TComponent* AOwner = nullptr);
    TAccess Access = kAllAccess;
    std::string Key;
    TRootKey RootKey = hkCurrentUser;

    // Nothing, and no error, with an empty Key, a key that cannot be opened
    // or created, or a kind of value that has no stored form (the key is
    // still created). A value the registry refuses to set raises
    // ERegistryException "Failed to set data for '<value name>'".
    void WriteValue(const std::string& Name, const TRegVariant& Value);
    // Default when the key or value is missing or unreadable.
    TRegVariant ReadValue(const std::string& Name, const TRegVariant& Default);

private:
    TBrkApart* splitter_;
};
