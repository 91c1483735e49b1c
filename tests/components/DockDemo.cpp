// A form with a dock bar holding two tool windows and a third one floating,
// for screenshots under Xvfb: components_dock_demo.exe [seconds] [inactive]
// ("inactive": the application counts as inactive and the top dock tiles a
// background under its tool windows).
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "DemoPump.h"
#include "TestToolWindow.h"
#include "runtime/Application.h"

namespace {

// A tool window that shows a row of flat buttons, as a toolbar would.
class TDemoToolWindow : public TTestToolWindow {
public:
    TDemoToolWindow(TForm* form, const char* name, int buttons)
        : TTestToolWindow(form, name, buttons * 24), buttons_(buttons) {}
    void Paint(TCanvas& canvas) override {
        RECT r;
        GetClientRect(Handle(), &r);
        canvas.Brush.Color = clBtnFace;
        canvas.FillRect(r);
        for (int i = 0; i < buttons_; ++i) {
            RECT b{i * 24 + 1, 1, i * 24 + 23, 21};
            DrawEdge(canvas.Handle(), &b, BDR_RAISEDINNER, BF_RECT);
            RECT glyph{b.left + 6, b.top + 5, b.right - 6, b.bottom - 5};
            canvas.Brush.Color = i % 3 == 0 ? clNavy : i % 3 == 1 ? clMaroon : clGreen;
            canvas.FillRect(glyph);
        }
    }

private:
    int buttons_;
};

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    TForm form;
    form.SetCaption("Dock bar");
    form.SetBounds(40, 40, 640, 420);
    form.Handle();
    auto* top = new TDock97(&form, dpTop);
    top->SetName("TopDock");
    top->SetBoundLines(blTop | blBottom);
    auto* left = new TDock97(&form, dpLeft);
    left->SetName("LeftDock");
    left->SetFixAlign(true);
    auto* standard = new TDemoToolWindow(&form, "Standard", 6);
    auto* format = new TDemoToolWindow(&form, "Format", 4);
    auto* floating = new TDemoToolWindow(&form, "Drawing", 5);
    standard->DockPos = 0;
    standard->SetDockedTo(top);
    format->DockPos = 0;  // beside Standard: list order decides
    format->SetDockedTo(top);
    form.Show();
    floating->PlaceFloating(260, 240);
    floating->Handle();
    if (argc > 2 && std::strcmp(argv[2], "inactive") == 0) {
        TBitmap pic(8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) pic.Canvas().SetPixel(x, y, (x + y) % 8 < 4 ? clSilver : clGray);
        top->SetBackground(pic.Handle());
        format->SetDockPos(200);  // moved over the background: its frame is redrawn in line
        floating->HidesWhileInactive = false;  // stays, drawn inactive
        floating->UpdateVisibility(false);
    }
    PumpMessages(static_cast<DWORD>(seconds) * 1000);
    return 0;
}
