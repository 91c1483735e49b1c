// An automation object that every apartment of the server may call directly:
// it aggregates the free-threaded marshaler, so a pointer marshalled to
// another thread of this process arrives as the object itself. Such objects
// guard their own state (the crawl thread calls channels and databases
// beside the clients' calls on the main thread).
#pragma once

#include <windows.h>
#include <objbase.h>

#include "AutoObject.h"

template <class Itf, const IID* ItfIid>
class TAgileObject : public TAutoObject<Itf, ItfIid> {
public:
    TAgileObject() {
        // Without the marshaler the object still works, through proxies.
        if (FAILED(CoCreateFreeThreadedMarshaler(static_cast<IUnknown*>(this), &marshaler_))) marshaler_ = nullptr;
    }
    ~TAgileObject() override {
        if (marshaler_) marshaler_->Release();
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (ppv && marshaler_ && IsEqualIID(riid, IID_IMarshal)) return marshaler_->QueryInterface(riid, ppv);
        return TAutoObject<Itf, ItfIid>::QueryInterface(riid, ppv);
    }

private:
    IUnknown* marshaler_ = nullptr;
};
