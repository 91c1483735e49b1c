// SBF: the search window over the Gleaner engine.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "runtime/Application.h"
#include "searchwindow/ScriptedCrawl.h"
#include "searchwindow/SearchWindow.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (FAILED(CoInitialize(nullptr))) return 1;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    Application->Title = "Sablefind";
    int result = 0;
    {
        TSearchWindow window;
        window.Show();
        if (window.Load()) {
            // A start address to try the window with, when given.
            const char* start = getenv("SBF_START_ADDRESS");
            if (start && *start) window.StartAddressCombo()->SetText(start);
            // Without a display: a crawl on its own, pictures of it, and the end.
            const char* shot = getenv("QF_SCREENSHOT");
            if (shot && *shot) {
                result = RunScriptedCrawl(window, shot) ? 0 : 2;
                window.Unload();
            } else {
                Application->Run();
            }
        } else {
            result = 1;
        }
    }
    CoUninitialize();
    return result;
}
