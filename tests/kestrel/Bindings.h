// Kestrel's objects as a test sees them, three ways: through the vtables
// (objects made from the class identifiers), by member name and by dispatch
// id (objects made from the ProgIDs, called through IDispatch). A test runs
// each case once per binding.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "DispatchDriver.h"
#include "Kestrel_h.h"
#include "WideString.h"

enum class Binding { Vtable, ByName, ById };
const char* BindingName(Binding b);
std::vector<Binding> AllBindings();

class FileApi {
public:
    static std::unique_ptr<FileApi> Make(Binding b);
    virtual ~FileApi() = default;
    virtual long Open(const std::string& name, long flags) = 0;
    virtual void Close() = 0;
    virtual long WriteString(const WideString& s) = 0;
    virtual WideString ReadString() = 0;
    virtual long PutBR() = 0;
    virtual long CheckExists(const std::string& name) = 0;
    virtual long Position() = 0;
    virtual void SetPosition(long p) = 0;
    virtual WideString FindFirst(const std::string& path) = 0;
    virtual WideString FindNext() = 0;
    virtual long PutString(const WideString& s) = 0;
    virtual WideString GetString() = 0;
    // Through IDispatch a null [out,retval] string arrives empty (ITypeInfo::
    // Invoke copies results with VariantCopyInd); only the vtable shows null.
    virtual bool ShowsNull() const = 0;
};

class ClipboardApi {
public:
    static std::unique_ptr<ClipboardApi> Make(Binding b);
    virtual ~ClipboardApi() = default;
    virtual WideString Get(const std::string& format) = 0;
    virtual void Put(const std::string& format, const WideString& value) = 0;
};

// "a null string" for bindings that can show one, else "an empty string".
bool NullOrEmpty(const FileApi& f, const WideString& s);
