// COM registration under HKEY_CLASSES_ROOT: a class (CLSID key, versioned and
// version-independent ProgIDs with CurVer, InprocServer32 or LocalServer32,
// TypeLib, AppID), an AppID, and the module's own type library. Removal takes
// away what registration wrote and keeps the shared parent keys (CLSID, AppID).
#pragma once

#include <windows.h>

#include <string>

struct TClassRegistration {
    const CLSID* Clsid = nullptr;
    std::string ProgID;           // version-independent, e.g. "Kestrel.KesFile"
    int Version = 1;              // the versioned ProgID is ProgID + "." + Version
    std::string Description;      // default value of the CLSID and ProgID keys
    bool LocalServer = false;     // LocalServer32 (an EXE) instead of InprocServer32
    const GUID* LibId = nullptr;  // TypeLib subkey when set
    const GUID* AppId = nullptr;  // AppID value when set

    std::string VersionedProgID() const;
};

std::string GuidToString(const GUID& g);  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"

// Writes the class's keys; the CLSID key is replaced whole. ModulePath is the
// server file; a local server's path is quoted when it holds a blank.
HRESULT RegisterComClass(const TClassRegistration& c, const std::string& ModulePath);
// Removes the CLSID key of the class and both ProgID keys. S_OK also when absent.
HRESULT UnregisterComClass(const TClassRegistration& c);

// AppID\{appid} = Name, and AppID\<ExeName> with the value AppID = {appid}.
HRESULT RegisterAppId(const GUID& AppId, const std::string& Name, const std::string& ExeName);
HRESULT UnregisterAppId(const GUID& AppId, const std::string& ExeName);

// The type library embedded in the module (else beside it as .tlb).
HRESULT RegisterModuleTypeLib();
HRESULT UnregisterModuleTypeLib();
