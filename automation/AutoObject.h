// Base of an automation object with one dual interface Itf: reference count,
// one module lock for its lifetime, and IDispatch answered from Itf's type
// information (ITypeInfo::Invoke calls the same vtable methods that early-bound
// callers use), so members are callable by name and by dispatch id.
// Every method of a derived class runs its body through ComGuard.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "ComModule.h"
#include "OleSysError.h"

template <class Itf, const IID* ItfIid>
class TAutoObject : public Itf {
public:
    TAutoObject() { ComModule.Lock(); }
    virtual ~TAutoObject() { ComModule.Unlock(); }
    TAutoObject(const TAutoObject&) = delete;
    TAutoObject& operator=(const TAutoObject&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, *ItfIid)) {
            *ppv = static_cast<Itf*>(this);
            this->AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refCount_)); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG n = InterlockedDecrement(&refCount_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return ComModule.GetTypeInfo(*ItfIid, info, nullptr);
    }
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = nullptr;
        HRESULT hr = ComModule.GetTypeInfo(*ItfIid, nullptr, &info);
        if (FAILED(hr)) return hr;
        hr = info->GetIDsOfNames(names, count, ids);
        info->Release();
        return hr;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override {
        if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* info = nullptr;
        HRESULT hr = ComModule.GetTypeInfo(*ItfIid, nullptr, &info);
        if (FAILED(hr)) return hr;
        hr = info->Invoke(static_cast<Itf*>(this), id, flags, params, result, excep, argErr);
        info->Release();
        return hr;
    }

private:
    volatile LONG refCount_ = 0;
};

// Makes a T and hands out its riid: the creator a class factory calls.
template <class T>
HRESULT CreateComObject(REFIID riid, void** ppv) noexcept {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    return ComGuard([&] {
        T* obj = new T();
        obj->AddRef();
        HRESULT hr = obj->QueryInterface(riid, ppv);
        obj->Release();
        return hr;
    });
}
