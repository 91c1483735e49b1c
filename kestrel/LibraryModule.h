// Kestrel's module: the object map of its two classes (KesClipboard, KesFile)
// behind the four exports by which COM creates objects, asks whether the
// library may be unloaded, and registers or unregisters it.
#pragma once

#include <windows.h>

#include "ObjectMap.h"

TObjectMap& LibraryModule();

extern "C" {
STDAPI DllCanUnloadNow();
STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv);
STDAPI DllRegisterServer();
STDAPI DllUnregisterServer();
}
