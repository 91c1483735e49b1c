// The class object of one class: makes its objects through a creator and
// counts LockServer in the module's lock count. Aggregation is refused: the
// classes here keep no outer-unknown delegation (and a local server cannot
// be aggregated across processes anyway).
#pragma once

#include <windows.h>
#include <unknwn.h>

class TClassFactory : public IClassFactory {
public:
    using Creator = HRESULT (*)(REFIID riid, void** ppv);
    explicit TClassFactory(Creator create) : create_(create) {}
    virtual ~TClassFactory() = default;
    TClassFactory(const TClassFactory&) = delete;
    TClassFactory& operator=(const TClassFactory&) = delete;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    Creator create_;
    volatile LONG refCount_ = 0;
};
