#include "ObjectMap.h"

#include "ComModule.h"
#include "OleSysError.h"

TObjectMap::TObjectMap(std::vector<TObjectMapEntry> entries)
    : entries_(std::move(entries)), factories_(entries_.size(), nullptr), cookies_(entries_.size(), 0) {}

TObjectMap::~TObjectMap() = default;

HRESULT TObjectMap::Factory(size_t i, IClassFactory** out) {
    *out = nullptr;
    TCsLock hold(cs_);
    if (!factories_[i]) {
        HRESULT hr = ComGuard([&] {
            factories_[i] = new TClassFactory(entries_[i].Create);
            factories_[i]->AddRef();
            return S_OK;
        });
        if (FAILED(hr)) return hr;
    }
    *out = factories_[i];
    (*out)->AddRef();
    return S_OK;
}

HRESULT TObjectMap::GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (!IsEqualCLSID(rclsid, *entries_[i].Registration.Clsid)) continue;
        IClassFactory* f = nullptr;
        HRESULT hr = Factory(i, &f);
        if (FAILED(hr)) return hr;
        hr = f->QueryInterface(riid, ppv);
        f->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT TObjectMap::RegisterServer() {
    return ComGuard([&] {
        std::string path = ComModule.FileName();
        for (const auto& e : entries_) {
            HRESULT hr = RegisterComClass(e.Registration, path);
            if (FAILED(hr)) return hr;
        }
        return RegisterModuleTypeLib();
    });
}

HRESULT TObjectMap::UnregisterServer() {
    ComGuard([&] {
        for (const auto& e : entries_) UnregisterComClass(e.Registration);
        UnregisterModuleTypeLib();
        return S_OK;
    });
    return S_OK;
}

HRESULT TObjectMap::RegisterClassObjects(DWORD Context, DWORD Flags) {
    for (size_t i = 0; i < entries_.size(); ++i) {
        IClassFactory* f = nullptr;
        HRESULT hr = Factory(i, &f);
        if (SUCCEEDED(hr)) {
            hr = CoRegisterClassObject(*entries_[i].Registration.Clsid, f, Context, Flags, &cookies_[i]);
            f->Release();
        }
        if (FAILED(hr)) {
            cookies_[i] = 0;
            return hr;
        }
    }
    return S_OK;
}

HRESULT TObjectMap::RevokeClassObjects() {
    for (DWORD& cookie : cookies_) {
        if (!cookie) continue;
        HRESULT hr = CoRevokeClassObject(cookie);
        if (FAILED(hr)) return hr;
        cookie = 0;
    }
    return S_OK;
}

void TObjectMap::Term() {
    TCsLock hold(cs_);
    for (IClassFactory*& f : factories_) {
        if (f) f->Release();
        f = nullptr;
    }
}
