// The creatable classes of a module, in order: each class's registration, its
// object creator and its class object, made once on first request. Serves
// DllGetClassObject and DllRegisterServer/DllUnregisterServer of an in-process
// server, and the class-object registration of a local server.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <vector>

#include "ClassFactory.h"
#include "CriticalSection.h"
#include "Registration.h"

struct TObjectMapEntry {
    TClassRegistration Registration;          // its Clsid names the class
    TClassFactory::Creator Create = nullptr;
};

class TObjectMap {
public:
    explicit TObjectMap(std::vector<TObjectMapEntry> entries);
    ~TObjectMap();
    TObjectMap(const TObjectMap&) = delete;
    TObjectMap& operator=(const TObjectMap&) = delete;

    // E_POINTER without ppv; CLASS_E_CLASSNOTAVAILABLE (and *ppv null) for a
    // class not in the map; else the class object's riid. The same class
    // object serves every request.
    HRESULT GetClassObject(REFCLSID rclsid, REFIID riid, void** ppv);

    // Every class in order (stops at the first failure), then the module's type library.
    HRESULT RegisterServer();
    // Every class, then the type library; failures are ignored.
    HRESULT UnregisterServer();

    // CoRegisterClassObject for each class in order; stops at the first failure.
    HRESULT RegisterClassObjects(DWORD Context, DWORD Flags);
    // CoRevokeClassObject in order; stops at the first failure.
    HRESULT RevokeClassObjects();

    // Releases the cached class objects.
    void Term();

private:
    HRESULT Factory(size_t i, IClassFactory** out);

    std::vector<TObjectMapEntry> entries_;
    std::vector<IClassFactory*> factories_;
    std::vector<DWORD> cookies_;
    TCriticalSection cs_;
};
