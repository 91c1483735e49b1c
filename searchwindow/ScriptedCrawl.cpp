#include "searchwindow/ScriptedCrawl.h"

#include <windows.h>

#include <functional>

#include "runtime/Application.h"
#include "searchwindow/SearchWindow.h"
#include "ui/Graphics.h"

namespace {
void ScriptedPump(unsigned ms, const std::function<bool()>& done = nullptr) {
    const DWORD until = GetTickCount() + ms;
    while (GetTickCount() < until && !(done && done())) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Application->ProcessMessages();
    }
}

// What the screen shows of the window, frame and menu included.
bool ScriptedShot(HWND window, const std::string& path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    ScriptedPump(300);
    RECT r;
    GetWindowRect(window, &r);
    TBitmap bmp(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(bmp.Canvas().Handle(), 0, 0, bmp.Width(), bmp.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return bmp.SaveToFile(path);
}
}  // namespace

bool RunScriptedCrawl(TSearchWindow& w, const std::string& shot) {
    SetForegroundWindow(w.Handle());
    w.StartClick(false);
    auto idle = [&] { return w.Session()->RunState == SearchRunState::Idle; };
    ScriptedPump(120000, idle);
    bool ok = idle();
    if (!ok) {
        w.Session()->StopSearch();
        ScriptedPump(30000, idle);
    }
    ScriptedPump(800);
    ok = ScriptedShot(w.Handle(), shot) && ok;
    if (w.FoundListBox()->Count() > 0) w.FoundListBox()->Select(0);
    w.SelectPanel(3);
    // The links of the first record, with the templates under them.
    TListViewBox* props = w.PropertiesListBox();
    for (int i = 0; i < props->Count(); ++i)
        if (props->GetText(i) == "Link") props->Select(i);
    ScriptedPump(800);
    const std::string base = shot.size() > 4 ? shot.substr(0, shot.size() - 4) : shot;
    ok = ScriptedShot(w.Handle(), base + "-results.bmp") && ok;
    // A look, not a search to keep.
    w.Session()->SearchModified = false;
    return ok;
}
