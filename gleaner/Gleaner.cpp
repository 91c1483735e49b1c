// Gleaner.exe: the search engine's automation server, without a window.
#include <windows.h>
#include <objbase.h>

#include "ServerModule.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR CommandLine, int) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    int code;
    {
        ServerModule module;
        code = module.Run(CommandLine ? CommandLine : "");
    }
    CoUninitialize();
    return code;
}
