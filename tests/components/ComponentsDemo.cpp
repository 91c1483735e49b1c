// A demo form of the FTP client's components for people to look at: the
// toolbar, a flat edit, a completing combo box and 3-D labels. Run under a
// real display (Xvfb); it saves a picture of the form to the path given.
#include <windows.h>

#include <cstdio>
#include <string>

#include "components/ComboBox98.h"
#include "components/Edit97.h"
#include "components/Label3D.h"
#include "components/ToolbarButton97.h"
#include "runtime/Application.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace {

// A 16 x 16 picture per button: a coloured shape on a fuchsia (transparent) ground.
void PaintGlyph(TBitmap& b, int kind) {
    b.SetSize(16, 16);
    static const TColor colours[] = {clGreen, clRed, clNavy, clBlack, 0x00A0E0, clMaroon, 0x008080,
                                     clBlue,  clBlue, clBlue,  0x808000, 0x008000};
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            bool on = false;
            switch (kind % 4) {
            case 0: on = (x - 8) * (x - 8) + (y - 8) * (y - 8) < 36; break;  // disc
            case 1: on = x >= 3 && x < 13 && y >= 3 && y < 13; break;         // square
            case 2: on = y >= 3 && y < 13 && x >= 8 - (y - 3) / 2 && x <= 8 + (y - 3) / 2; break;  // triangle
            default: on = (x >= 6 && x < 10) || (y >= 6 && y < 10); break;    // cross
            }
            b.Canvas().SetPixel(x, y, on ? colours[kind] : 0xFF00FF);
        }
}

class TDemoForm : public TForm {
public:
    TDemoForm() {
        SetCaption("Velmora Larch FTP - components");
        SetBounds(40, 40, 640, 200);
        auto* bar = new TPanel(this);
        bar->SetAlign(alTop);
        bar->SetBounds(0, 0, 560, 46);
        static const char* captions[12] = {"Connect", "Discon.", "Add",  "Up",   "New",  "Delete",
                                           "Refresh", "Binary",  "Ascii", "Auto", "Host", "Sell"};
        int x = 4;
        for (int i = 0; i < 12; ++i) {
            if (i == 3 || i == 7 || i == 10) x += 6;  // dividers
            auto* b = new TToolbarButton97(bar);
            b->SetBounds(x, 3, 46, 40);
            b->SetCaption(captions[i]);
            b->Layout = blGlyphTop;
            TBitmap g;
            PaintGlyph(g, i);
            b->SetGlyph(g.Handle());
            if (i >= 7 && i <= 9) b->SetGroupIndex(100);
            if (i == 9) b->SetDown(true);
            if (i == 1) b->SetEnabled(false);
            x += 47;
            buttons[i] = b;
        }
        auto* lblFolder = new TLabel(this);
        lblFolder->SetBounds(10, 62, 80, 16);
        lblFolder->SetCaption("Folder name:");
        edit = new TEdit97(this);
        edit->SetBounds(100, 58, 200, 19);
        edit->SetText("incoming");
        auto* lblServer = new TLabel(this);
        lblServer->SetBounds(10, 96, 80, 16);
        lblServer->SetCaption("Server:");
        combo = new TComboBox98(this);
        combo->SetBounds(100, 92, 200, 21);
        label = new TLabel3D(this);
        label->SetBounds(320, 60, 220, 30);
        label->Alignment = TLabel::taCenter;
        label->SetCaption("ftp.example.org");
        label->Font().SetHeight(-16);
        label->Font().SetStyle(fsBold);
        auto* raised = new TLabel3D(this);
        raised->SetBounds(320, 95, 220, 30);
        raised->Alignment = TLabel::taCenter;
        raised->SetCaption("Raised caption");
        raised->Font().SetHeight(-16);
        raised->SetCaptionStyle(csHeavyRaised);
    }
    TToolbarButton97* buttons[12];
    TEdit97* edit;
    TComboBox98* combo;
    TLabel3D* label;
};

void Pump(int ms) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(ms);
    while (GetTickCount() < end) {
        Application->ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "components-demo.bmp";
    TDemoForm f;
    f.Show();
    f.combo->Items().Add("/pub/incoming");
    f.combo->Items().Add("/pub/outgoing");
    f.combo->Items().Add("/home/larch");
    SetForegroundWindow(f.Handle());
    Pump(500);
    // Type into the combo box: "/pub/o" completes to "/pub/outgoing".
    f.combo->SetFocus();
    HWND edit = GetWindow(f.combo->Handle(), GW_CHILD);
    for (const char* k = "/pub/o"; *k; ++k) {
        SendMessageA(edit, WM_KEYDOWN, static_cast<WPARAM>(*k), 0);
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(*k), 0);
    }
    // Hover the first button and focus the flat edit.
    POINT pt{10, 10};
    ClientToScreen(f.buttons[0]->Handle(), &pt);
    SetCursorPos(pt.x, pt.y);
    SendMessageA(f.buttons[0]->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    f.edit->SetFocus();
    SendMessageA(f.buttons[0]->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    Pump(800);
    // The client area: without a window manager there is no frame to show.
    RECT r;
    GetClientRect(f.Handle(), &r);
    MapWindowPoints(f.Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    TBitmap shot(r.right - r.left, r.bottom - r.top);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen, r.left, r.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    const bool ok = shot.SaveToFile(out);
    std::printf("%s %s (%dx%d)\n", ok ? "saved" : "could not save", out.c_str(), shot.Width(), shot.Height());
    return ok ? 0 : 1;
}
