// The owner-drawn main menu with a drop-down open (images, shortcut, a titled
// separator, a disabled item, a second column) above a toolbar of flat
// buttons (hot, latched, disabled, and one that lets its coloured panel show
// through), for screenshots under Xvfb: components_menus_demo.exe [seconds]
#include <windows.h>

#include <cstdlib>

#include "DemoPump.h"
#include "components/Menus97.h"
#include "components/ToolbarButton97.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

namespace {

TMenuItem* Add(TMenuItem* parent, TComponent* owner, const char* caption, int tag) {
    auto* i = new TMenuItem(owner);
    i->SetCaption(caption);
    i->Tag = tag;
    parent->Add(i);
    return i;
}

// Ten 16 x 16 images, a coloured square each.
void FillImages(TImageList& il) {
    for (int i = 0; i < 10; ++i) {
        TBitmap b(16, 16);
        b.Canvas().Brush.Color = 0xFF00FF;
        b.Canvas().FillRect(RECT{0, 0, 16, 16});
        b.Canvas().Brush.Color = static_cast<TColor>(RGB(20 * i, 180 - 15 * i, 60 + 18 * i));
        b.Canvas().FillRect(RECT{2, 2, 14, 14});
        il.AddMasked(b, 0xFF00FF);
    }
}

HBITMAP Glyph(TBitmap& b, TColor colour) {
    b.SetSize(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            b.Canvas().SetPixel(x, y, (x - 8) * (x - 8) + (y - 8) * (y - 8) < 36 ? colour : 0xFF00FF);
    return b.Handle();
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    TForm form;
    form.SetCaption("Velmora Larch FTP - menus");
    form.SetBounds(40, 40, 560, 360);
    TImageList images(&form, 16, 16);
    FillImages(images);
    auto* menu = new TMainMenu(&form);
    TMenuItem* file = Add(menu->Items(), &form, "&File", -1);
    Add(file, &form, "&Connect...", 0)->SetShortCut(ShortCut('N', ssCtrl));
    Add(file, &form, "&Refresh", 6)->SetShortCut(VK_F5);
    Add(file, &form, "-", -2);
    Add(file, &form, "-Sites", -2);
    Add(file, &form, "1. ftp.example.org", 100);
    Add(file, &form, "&Disconnect", 1)->SetEnabled(false);
    Add(file, &form, "E&xit", -2);
    TMenuItem* column = Add(file, &form, "&Binary", -2);
    column->SetBreak(mbBarBreak);
    column->SetRadioItem(true);
    column->SetChecked(true);
    Add(file, &form, "&Ascii", -2)->SetRadioItem(true);
    Add(file, &form, "Auto&matic", -2)->SetRadioItem(true);
    Add(menu->Items(), &form, "&View", -1)->Add(new TMenuItem(&form));
    Add(menu->Items(), &form, "&Help", 256 + 3)->Add(new TMenuItem(&form));
    form.SetMenu(menu);
    auto* menus = new TMainMenus97(&form);
    menus->SetImages(&images);
    menus->SetMainMenu(menu);

    auto* panel = new TPanel(&form);
    panel->SetBounds(0, 0, 560, 46);
    panel->SetColor(static_cast<TColor>(RGB(0x60, 0x90, 0xC0)));
    panel->BevelOuter = bvNone;
    const char* captions[] = {"Hot", "Latched", "Off", "Clear"};
    TToolbarButton97* buttons[4];
    for (int i = 0; i < 4; ++i) {
        auto* b = new TToolbarButton97(panel);
        b->SetBounds(4 + i * 60, 3, 56, 40);
        b->SetCaption(captions[i]);
        b->Layout = blGlyphTop;
        TBitmap g;
        b->SetGlyph(Glyph(g, i == 3 ? clYellow : clNavy));
        buttons[i] = b;
    }
    buttons[1]->SetGroupIndex(1);
    buttons[1]->SetDown(true);
    buttons[2]->SetEnabled(false);
    buttons[3]->Opaque = false;  // the panel's colour shows through
    form.Show();
    PumpMessages(600);
    SendMessageA(buttons[0]->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    buttons[0]->MouseEntered();
    PumpMessages(300);
    // The File drop-down as the user opens it, closed again after the time given.
    SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, CloseMenu);
    RECT r;
    GetWindowRect(form.Handle(), &r);
    TrackPopupMenu(file->Handle(), TPM_LEFTALIGN, r.left + 20, r.top + 110, 0, form.Handle(), nullptr);
    return 0;
}
