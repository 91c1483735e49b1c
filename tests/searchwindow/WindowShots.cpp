// Screenshots of the search window for people to look at (not a test): a
// crawl of the fixture site given on the command line, captured while it
// runs and after it ends, as BMP files in the given folder.
#include <windows.h>

#include <cstdio>
#include <string>

#include <commctrl.h>

#include <functional>
#include "runtime/Application.h"
#include "searchwindow/SearchWindow.h"

namespace qftest {
void PumpFor(unsigned ms) {
    const DWORD until = GetTickCount() + ms;
    while (GetTickCount() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Application->ProcessMessages();
    }
}
bool PumpUntil(const std::function<bool()>& pred, unsigned ms) {
    const DWORD until = GetTickCount() + ms;
    while (!pred() && GetTickCount() < until) PumpFor(20);
    return pred();
}
}  // namespace qftest

namespace {
void Capture(HWND window, const std::string& path) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bmp);
    BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(dc, old);
    const DWORD stride = ((w * 3 + 3) & ~3), size = stride * h;
    BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader + size), 0, 0,
                        static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader)};
    if (FILE* f = fopen(path.c_str(), "wb")) {
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
        fwrite(bits, size, 1, f);
        fclose(f);
    }
    DeleteObject(bmp);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: sbf_shots <start address> <folder>\n");
        return 2;
    }
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    const std::string folder = argv[2];
    int rc = 0;
    {
        TSearchWindow w;
        w.Show();
        if (!w.Load()) return 1;
        w.StartAddressCombo()->SetText(argv[1]);
        w.StartClick(false);
        // The start page links to a page that never ends: the run holds while
        // the found list fills, and is then stopped.
        qftest::PumpUntil([&] { return w.FoundListBox()->Count() >= 3; }, 20000);
        qftest::PumpFor(600);
        Capture(w.Handle(), folder + "/sbf-during-crawl.bmp");
        w.Session()->StopSearch();
        if (!qftest::PumpUntil([&] { return w.Session()->RunState == SearchRunState::Idle; }, 60000)) rc = 3;
        qftest::PumpFor(1200);
        Capture(w.Handle(), folder + "/sbf-after-crawl.bmp");
        w.FoundListBox()->Select(0);
        w.SelectPanel(2);
        qftest::PumpFor(800);
        Capture(w.Handle(), folder + "/sbf-content-panel.bmp");
        // The Results panel with the first record's links.
        w.SelectPanel(3);
        TListViewBox* props = w.PropertiesListBox();
        for (int i = 0; i < props->Count(); ++i)
            if (props->GetText(i) == "Link") props->Select(i);
        qftest::PumpFor(800);
        Capture(w.Handle(), folder + "/sbf-results-panel.bmp");
        w.SelectPanel(4);
        qftest::PumpFor(800);
        Capture(w.Handle(), folder + "/sbf-options-panel.bmp");
        // The Results panel with a template that shows its values in a browser.
        w.SelectPanel(3);
        for (int i = 0; i < props->Count(); ++i) {
            const int32_t index = static_cast<int32_t>(props->TagOf(i));
            if (w.Session()->Masks.Item(index).BrowserType == 1) {
                props->Select(i);
                break;
            }
        }
        qftest::PumpFor(800);
        Capture(w.Handle(), folder + "/sbf-results-browser.bmp");
        // A tool tip: the mouse rests on the template toolbar's Cut button.
        w.SelectPanel(1);
        qftest::PumpFor(300);
        TToolBar* bar = w.PropertyToolbar();
        RECT r{};
        bar->Perform(TB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&r));
        POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        POINT screen = at;
        ClientToScreen(bar->Handle(), &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageA(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        qftest::PumpFor(1200);
        Capture(w.Handle(), folder + "/sbf-tool-tip.bmp");
        // And one over a tab.
        RECT t{};
        w.TabStrip()->Perform(TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&t));
        at = {(t.left + t.right) / 2, (t.top + t.bottom) / 2};
        screen = at;
        ClientToScreen(w.TabStrip()->Handle(), &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageA(w.TabStrip()->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        qftest::PumpFor(1200);
        Capture(w.Handle(), folder + "/sbf-tab-tip.bmp");
        w.Session()->SearchModified = false;
        w.Unload();
    }
    CoUninitialize();
    printf("%d found\n", rc);
    return rc;
}
