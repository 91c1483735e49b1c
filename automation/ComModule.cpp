#include "ComModule.h"

#include <cstring>

#include "OleSysError.h"


TComModule ComModule;

namespace {
bool GuidLess(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
}  // namespace

TComModule::TComModule() : infos_(GuidLess) {}

TComModule::~TComModule() = default;

HINSTANCE TComModule::Instance() const {
    HMODULE m = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ComModule), &m);
    return m;
}

std::string TComModule::FileName() const {
    char buf[MAX_PATH * 2];
    DWORD n = GetModuleFileNameA(Instance(), buf, sizeof buf);
    return std::string(buf, n < sizeof buf ? n : 0);
}

std::wstring TComModule::FileNameW() const {
    wchar_t buf[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(Instance(), buf, sizeof buf / sizeof buf[0]);
    return std::wstring(buf, n < sizeof buf / sizeof buf[0] ? n : 0);
}

LONG TComModule::Lock() { return InterlockedIncrement(&lockCount_); }

LONG TComModule::Unlock() {
    LONG n = InterlockedDecrement(&lockCount_);
    if (n == 0 && OnLastUnlock) OnLastUnlock();
    return n;
}

HRESULT TComModule::GetTypeLib(ITypeLib** lib) {
    if (!lib) return E_POINTER;
    *lib = nullptr;
    TCsLock hold(cs_);
    return ComGuard([&] { return LoadTypeLibLocked(lib); });
}

HRESULT TComModule::LoadTypeLibLocked(ITypeLib** lib) {
    if (!typeLib_) {
        std::wstring path = FileNameW();
        HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &typeLib_);
        if (FAILED(hr)) {
            size_t dot = path.find_last_of(L".\\/");
            if (dot != std::wstring::npos && path[dot] == L'.') path.erase(dot);
            path += L".tlb";
            hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &typeLib_);
        }
        if (FAILED(hr)) {
            typeLib_ = nullptr;
            return hr;
        }
        typeLibPath_ = path;
    }
    typeLib_->AddRef();
    *lib = typeLib_;
    return S_OK;
}

std::wstring TComModule::TypeLibPath() {
    TCsLock hold(cs_);
    return typeLibPath_;
}

HRESULT TComModule::GetTypeInfo(REFIID iid, ITypeInfo** dispatch, ITypeInfo** invoke) {
    if (dispatch) *dispatch = nullptr;
    if (invoke) *invoke = nullptr;
    TCsLock hold(cs_);
    return ComGuard([&] { return TypeInfoLocked(iid, dispatch, invoke); });
}

HRESULT TComModule::TypeInfoLocked(REFIID iid, ITypeInfo** dispatch, ITypeInfo** invoke) {
    auto it = infos_.find(iid);
    if (it == infos_.end()) {
        ITypeLib* lib = nullptr;
        HRESULT hr = GetTypeLib(&lib);
        if (FAILED(hr)) return hr;
        ITypeInfo* disp = nullptr;
        hr = lib->GetTypeInfoOfGuid(iid, &disp);
        lib->Release();
        if (FAILED(hr)) return hr;
        // A dual interface is found as its dispinterface; ITypeInfo::Invoke
        // wants the vtable interface behind it.
        ITypeInfo* inv = disp;
        inv->AddRef();
        TYPEATTR* attr = nullptr;
        if (SUCCEEDED(disp->GetTypeAttr(&attr))) {
            bool dual = attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL);
            disp->ReleaseTypeAttr(attr);
            HREFTYPE ref;
            ITypeInfo* vt = nullptr;
            if (dual && SUCCEEDED(disp->GetRefTypeOfImplType(-1, &ref)) &&
                SUCCEEDED(disp->GetRefTypeInfo(ref, &vt))) {
                inv->Release();
                inv = vt;
            }
        }
        try {
            it = infos_.emplace(iid, Infos{disp, inv}).first;
        } catch (...) {
            disp->Release();
            inv->Release();
            throw;
        }
    }
    if (dispatch) {
        *dispatch = it->second.dispatch;
        (*dispatch)->AddRef();
    }
    if (invoke) {
        *invoke = it->second.invoke;
        (*invoke)->AddRef();
    }
    return S_OK;
}

void TComModule::Term() {
    TCsLock hold(cs_);
    for (auto& e : infos_) {
        e.second.dispatch->Release();
        e.second.invoke->Release();
    }
    infos_.clear();
    if (typeLib_) typeLib_->Release();
    typeLib_ = nullptr;
    typeLibPath_.clear();
}
