// Owner-drawn popup menus and the button menu bar, through the platform's
// menu loop and the messages a form gets.
#include <gtest/gtest.h>

#include <string>

#include "components/MenuBar97.h"
#include "components/PopupMenus97.h"
#include "ui/Form.h"

namespace {

TMenuItem* NewItem(TComponent* owner, const std::string& caption, TShortCut sc = 0) {
    auto* i = new TMenuItem(owner);
    i->SetCaption(caption);
    i->SetShortCut(sc);
    return i;
}

void CALLBACK EndMenuLater(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

// Records what the component drew, as the platform showed the menu.
class TRecordingPopupMenus : public TCustomPopupMenus97 {
public:
    using TCustomPopupMenus97::TCustomPopupMenus97;
    bool MenuMessage(TMenu& menu, HWND window, TMessage& m) override {
        bool handled = TCustomPopupMenus97::MenuMessage(menu, window, m);
        if (m.Msg == WM_MEASUREITEM && handled) ++Measured;
        if (m.Msg == WM_DRAWITEM && handled) {
            ++Drawn;
            EndMenu();
        }
        if (m.Msg == WM_ENTERIDLE) EndMenu();
        return handled;
    }
    int Measured = 0, Drawn = 0;
};

// A COLORREF as the bitmap's 0x00RRGGBB.
uint32_t Rgb(COLORREF c) { return static_cast<uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)); }

bool HasColour(TBitmap& bmp, const RECT& r, COLORREF c) {
    const uint32_t rgb = Rgb(c);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (bmp.PixelRGB(x, y) == rgb) return true;
    return false;
}

}  // namespace

TEST(PopupMenus97, ItemsOfATrackedPopupAreMeasuredAndDrawnByTheComponent) {
    TForm owner;
    auto* pop = new TPopupMenu(&owner);
    auto* del = NewItem(&owner, "&Delete", VK_DELETE);
    pop->Items()->Add(del);
    pop->Items()->Add(NewItem(&owner, "-"));
    pop->Items()->Add(NewItem(&owner, "Re&name", VK_F2));
    TRecordingPopupMenus menus(&owner);
    menus.SetMenu(pop);
    EXPECT_TRUE(pop->OwnerDraw());
    UINT_PTR safety = SetTimer(nullptr, 0, 3000, EndMenuLater);
    pop->Popup(10, 10);
    KillTimer(nullptr, safety);
    EXPECT_EQ(menus.Measured, 2) << "every item but the line";
    EXPECT_GE(menus.Drawn, 1);
}

TEST(PopupMenus97, ASelectedItemIsDrawnOnTheHighlightBar) {
    TForm owner;
    auto* pop = new TPopupMenu(&owner);
    TMenuItem* item = NewItem(&owner, "&Delete", VK_DELETE);
    pop->Items()->Add(item);
    TCustomPopupMenus97 menus(&owner);
    menus.SetMenu(pop);
    menus.InitAllTags();
    TBitmap probe(1, 1);
    int h = 0, w = 0;
    menus.MeasureItem(*item, probe.Canvas().Handle(), h, w);
    ASSERT_GT(h, 0);
    ASSERT_GT(w, 0);
    TBitmap bmp(w, h);
    const RECT all{0, 0, w, h};
    menus.DrawItem(*item, bmp.Canvas().Handle(), all, ODS_SELECTED);
    EXPECT_TRUE(HasColour(bmp, all, ColorToRGB(menus.HiliteBar))) << "the highlight bar";
    menus.DrawItem(*item, bmp.Canvas().Handle(), all, 0);
    EXPECT_FALSE(HasColour(bmp, all, ColorToRGB(menus.HiliteBar))) << "not selected: no bar";
    int ink = 0;  // the caption: pixels other than the menu's face
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ink += bmp.PixelRGB(x, y) != Rgb(ColorToRGB(menus.BrushColor));
    EXPECT_GT(ink, 10) << "the caption";
}

namespace {
struct BarForm {
    BarForm() {
        form.SetBounds(0, 0, 400, 300);
        menu = new TMainMenu(&form);
        const char* captions[] = {"&File", "&View", "&Help"};
        for (const char* c : captions) {
            TMenuItem* top = NewItem(&form, c);
            top->Add(NewItem(&form, std::string(c + 1) + " item"));
            top->OnClick = [this, top](TObject*) { opened += top->Caption() + ";"; };
            menu->Items()->Add(top);
        }
        bar = new TCustomMenuBar97(&form);
        bar->SetMenu(menu);
        form.Show();
    }
    TForm form;
    TMainMenu* menu;
    TCustomMenuBar97* bar;
    std::string opened;
};
}  // namespace

TEST(MenuBar97, OneButtonPerTopLevelItem) {
    BarForm f;
    ASSERT_EQ(f.bar->ButtonCount(), 3);
    EXPECT_EQ(f.bar->Buttons(1)->Caption(), "&View");
    EXPECT_EQ(f.bar->Buttons(1)->Left(), 30) << "6 pixels per caption character";
    EXPECT_EQ(f.bar->Buttons(1)->Width(), 30);
    EXPECT_EQ(f.bar->Height(), 21);
    EXPECT_EQ(GetMenu(f.form.Handle()), nullptr) << "the bar replaces the form's own";
}

TEST(MenuBar97, MenuKeyAloneTogglesKeyboardModeAndArrowsWrap) {
    BarForm f;
    SendMessageA(f.form.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_TRUE(f.bar->State().KeyboardMode);
    EXPECT_TRUE(f.bar->Buttons(0)->Hot());
    EXPECT_EQ(SendMessageA(f.bar->Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);

    SendMessageA(f.form.Handle(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_EQ(f.bar->State().Index, 2) << "left from the first wraps to the last";
    EXPECT_FALSE(f.bar->Buttons(0)->Hot());
    EXPECT_TRUE(f.bar->Buttons(2)->Hot());
    SendMessageA(f.form.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(f.bar->State().Index, 0) << "right from the last wraps to the first";

    SendMessageA(f.form.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_FALSE(f.bar->State().KeyboardMode);
    EXPECT_FALSE(f.bar->Buttons(0)->Hot());
    SendMessageA(f.form.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(f.bar->State().Index, 0) << "outside keyboard mode arrows do not move";
}

TEST(MenuBar97, DownOpensTheCurrentDropDownAndRightMovesToTheNext) {
    BarForm f;
    bool posted = false;
    f.menu->Items()->Items(0)->OnClick = [&](TObject*) {
        f.opened += "&File;";
        if (!posted) PostMessageA(f.form.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
        posted = true;
    };
    f.menu->Items()->Items(1)->OnClick = [&](TObject*) {
        f.opened += "&View;";
        SetTimer(nullptr, 0, 50, EndMenuLater);
    };
    UINT_PTR safety = SetTimer(nullptr, 0, 5000, EndMenuLater);
    SendMessageA(f.form.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    SendMessageA(f.form.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    KillTimer(nullptr, safety);
    EXPECT_EQ(f.opened, "&File;&View;");
    EXPECT_EQ(f.bar->State().Index, 1);
    EXPECT_TRUE(f.bar->State().OpenedByKeyboard);
    EXPECT_FALSE(f.bar->Buttons(0)->Pressed());
}

TEST(MenuBar97, TheMainMenuComponentsToolBarGetsTheButtons) {
    TForm form;
    form.SetBounds(0, 0, 400, 300);
    auto* menu = new TMainMenu(&form);
    for (const char* c : {"&File", "&Edit", "&View", "&Help"}) {
        TMenuItem* top = NewItem(&form, c);
        top->Add(NewItem(&form, "item"));
        menu->Items()->Add(top);
    }
    form.SetMenu(menu);
    auto* m97 = new TMainMenus97(&form);
    m97->SetMainMenu(menu);
    auto* bar = new TCustomMenuBar97(&form);
    form.Show();
    EXPECT_EQ(bar->ButtonCount(), 0);
    m97->SetToolBar(bar);
    EXPECT_EQ(m97->ToolBar(), bar);
    ASSERT_EQ(bar->ButtonCount(), 4);
    EXPECT_EQ(bar->Buttons(3)->Caption(), "&Help");
    EXPECT_TRUE(m97->HideMenuBar());
    m97->SetHideMenuBar(false);
    EXPECT_TRUE(m97->HideMenuBar()) << "not while a bar stands in";
    // A new menu reaches the bar's buttons.
    auto* other = new TMainMenu(&form);
    other->Items()->Add(NewItem(&form, "&Only"));
    m97->SetMainMenu(other);
    EXPECT_EQ(bar->ButtonCount(), 1);
    m97->SetToolBar(nullptr);
    EXPECT_EQ(bar->ButtonCount(), 0);
}
