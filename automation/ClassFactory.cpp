#include "ClassFactory.h"

#include "ComModule.h"
#include "OleSysError.h"

STDMETHODIMP TClassFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) TClassFactory::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refCount_)); }

STDMETHODIMP_(ULONG) TClassFactory::Release() {
    LONG n = InterlockedDecrement(&refCount_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

STDMETHODIMP TClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return ComGuard([&] { return create_(riid, ppv); });
}

STDMETHODIMP TClassFactory::LockServer(BOOL lock) {
    if (lock) ComModule.Lock();
    else ComModule.Unlock();
    return S_OK;
}
