#include "LibraryModule.h"

#include "AutoObject.h"
#include "ComModule.h"
#include "KesClipboard.h"
#include "KesFile.h"
#include "Kestrel_h.h"

TObjectMap& LibraryModule() {
    static TObjectMap map({
        {{&CLSID_KesClipboard, "Kestrel.KesClipboard", 1, "KesClipboard Class", false, &LIBID_KESTRELLib, nullptr},
         CreateComObject<KesClipboard>},
        {{&CLSID_KesFile, "Kestrel.KesFile", 1, "KesFile Class", false, &LIBID_KESTRELLib, nullptr},
         CreateComObject<KesFile>},
    });
    return map;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
        try {
            LibraryModule();  // the map exists before the first export runs
        } catch (...) {
            return FALSE;
        }
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // Unloaded by FreeLibrary (not process exit): let go of what we cached.
        LibraryModule().Term();
        ComModule.Term();
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() { return ComModule.LockCount() == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    return LibraryModule().GetClassObject(rclsid, riid, ppv);
}

STDAPI DllRegisterServer() { return LibraryModule().RegisterServer(); }

STDAPI DllUnregisterServer() { return LibraryModule().UnregisterServer(); }
