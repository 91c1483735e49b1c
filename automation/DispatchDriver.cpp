#include "DispatchDriver.h"

#include <vector>

#include "OleSysError.h"

DispArg Out(long& target) { return DispArg(DispArg::OutLong, &target); }
DispArg Out(WideString& target) { return DispArg(DispArg::OutWide, &target); }
DispArg Out(std::string& target) { return DispArg(DispArg::OutAnsi, &target); }

TDispatchDriver::TDispatchDriver(IDispatch* d) : disp_(d) {
    if (disp_) disp_->AddRef();
}

TDispatchDriver::TDispatchDriver(const TDispatchDriver& o) : disp_(o.disp_), ids_(o.ids_) {
    if (disp_) disp_->AddRef();
}

TDispatchDriver::TDispatchDriver(TDispatchDriver&& o) noexcept : disp_(o.disp_), ids_(std::move(o.ids_)) {
    o.disp_ = nullptr;
}

TDispatchDriver& TDispatchDriver::operator=(TDispatchDriver o) noexcept {
    std::swap(disp_, o.disp_);
    std::swap(ids_, o.ids_);
    return *this;
}

TDispatchDriver::~TDispatchDriver() { Release(); }

void TDispatchDriver::Release() {
    if (disp_) disp_->Release();
    disp_ = nullptr;
    ids_.clear();
}

TDispatchDriver TDispatchDriver::CreateObject(const std::string& ProgID) {
    std::wstring w = AnsiToWide(ProgID);
    CLSID clsid;
    OleCheck(CLSIDFromProgID(w.c_str(), &clsid), "Class " + ProgID);
    IDispatch* d = nullptr;
    OleCheck(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&d)),
             "Creating " + ProgID);
    TDispatchDriver driver(d);
    d->Release();
    return driver;
}

DISPID TDispatchDriver::DispIdOf(const std::string& Name) {
    if (!disp_) throw EOleSysError("Member " + Name + ": no object", E_POINTER);
    auto it = ids_.find(Name);
    if (it != ids_.end()) return it->second;
    std::wstring w = AnsiToWide(Name);
    LPOLESTR names[1] = {&w[0]};
    DISPID id = DISPID_UNKNOWN;
    OleCheck(disp_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), "Member " + Name);
    ids_[Name] = id;
    return id;
}

HRESULT TDispatchDriver::Invoke(DISPID Id, WORD Flags, const DispArg* Args, size_t Count, OleVariant* Result,
                                std::string* Error) {
    if (!disp_) return E_POINTER;
    // DISPPARAMS wants the arguments last to first. By-reference arguments
    // point into slots of our own, copied to their targets after the call.
    std::vector<VARIANTARG> argv(Count);
    std::vector<LONG> longs(Count, 0);
    std::vector<BSTR> bstrs(Count, nullptr);
    for (size_t i = 0; i < Count; ++i) {
        const DispArg& a = Args[i];
        VARIANTARG& v = argv[Count - 1 - i];
        VariantInit(&v);
        switch (a.ArgKind()) {
        case DispArg::In:
            v = a.InValue().Value();  // shallow: the argument keeps ownership
            break;
        case DispArg::OutLong:
            longs[i] = *static_cast<long*>(a.target_);
            V_VT(&v) = VT_I4 | VT_BYREF;
            V_I4REF(&v) = &longs[i];
            break;
        case DispArg::OutWide:
        case DispArg::OutAnsi:
            V_VT(&v) = VT_BSTR | VT_BYREF;
            V_BSTRREF(&v) = &bstrs[i];
            break;
        }
    }
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params = {};
    params.rgvarg = Count ? argv.data() : nullptr;
    params.cArgs = static_cast<UINT>(Count);
    if (Flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO excep = {};
    UINT argErr = 0;
    OleVariant result;
    HRESULT hr = disp_->Invoke(Id, IID_NULL, LOCALE_USER_DEFAULT, Flags, &params, result.Receive(), &excep, &argErr);

    if (hr == DISP_E_EXCEPTION) {
        if (excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
        HRESULT code = excep.scode ? excep.scode : E_FAIL;
        if (Error) *Error = excep.bstrDescription ? WideToAnsi(excep.bstrDescription, SysStringLen(excep.bstrDescription))
                                                  : HResultText(code);
        hr = code;
    } else if (FAILED(hr) && Error) {
        *Error = HResultText(hr);
        if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND)
            *Error += " (argument " + std::to_string(Count - argErr) + ")";
    }
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);

    // Out values are taken even from a failed call, so nothing the callee gave leaks.
    for (size_t i = 0; i < Count; ++i) {
        const DispArg& a = Args[i];
        switch (a.ArgKind()) {
        case DispArg::In:
            break;
        case DispArg::OutLong:
            if (SUCCEEDED(hr)) *static_cast<long*>(a.target_) = longs[i];
            break;
        case DispArg::OutWide: {
            WideString s = WideString::Attach(bstrs[i]);
            if (SUCCEEDED(hr)) *static_cast<WideString*>(a.target_) = std::move(s);
            break;
        }
        case DispArg::OutAnsi: {
            WideString s = WideString::Attach(bstrs[i]);
            if (SUCCEEDED(hr)) *static_cast<std::string*>(a.target_) = s.ToAnsi();
            break;
        }
        }
    }
    if (SUCCEEDED(hr) && Result) *Result = std::move(result);
    return hr;
}

OleVariant TDispatchDriver::InvokeChecked(const std::string& What, DISPID Id, WORD Flags,
                                          std::initializer_list<DispArg> Args) {
    OleVariant result;
    std::string error;
    HRESULT hr = Invoke(Id, Flags, Args.begin(), Args.size(), &result, &error);
    if (FAILED(hr)) throw EOleSysError("Member " + What + ": " + error, hr);
    return result;
}

namespace {
std::string IdName(DISPID id) { return "#" + std::to_string(id); }
}  // namespace

OleVariant TDispatchDriver::Call(const std::string& Name, std::initializer_list<DispArg> Args) {
    return InvokeChecked(Name, DispIdOf(Name), DISPATCH_METHOD, Args);
}
OleVariant TDispatchDriver::Call(DISPID Id, std::initializer_list<DispArg> Args) {
    return InvokeChecked(IdName(Id), Id, DISPATCH_METHOD, Args);
}
OleVariant TDispatchDriver::Get(const std::string& Name, std::initializer_list<DispArg> Args) {
    return InvokeChecked(Name, DispIdOf(Name), DISPATCH_PROPERTYGET, Args);
}
OleVariant TDispatchDriver::Get(DISPID Id, std::initializer_list<DispArg> Args) {
    return InvokeChecked(IdName(Id), Id, DISPATCH_PROPERTYGET, Args);
}
void TDispatchDriver::Put(const std::string& Name, std::initializer_list<DispArg> ArgsAndValue) {
    InvokeChecked(Name, DispIdOf(Name), DISPATCH_PROPERTYPUT, ArgsAndValue);
}
void TDispatchDriver::Put(DISPID Id, std::initializer_list<DispArg> ArgsAndValue) {
    InvokeChecked(IdName(Id), Id, DISPATCH_PROPERTYPUT, ArgsAndValue);
}
