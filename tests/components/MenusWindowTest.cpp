// Owner-drawn popup menus and the button menu bar, through the platform's
// menu loop and the messages a form gets.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "components/MenuBar97.h"
#include "components/PopupMenus97.h"
#include "runtime/core/SysUtils.h"
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

TEST(MenuBar97, AFreedItemLeavesItsButtonInert) {
    BarForm f;
    TMenuSpeedButton97* view = f.bar->Buttons(1);
    delete f.menu->Items()->Items(1);
    EXPECT_EQ(view->Item(), nullptr) << "the button heard of the item's end";
    ASSERT_EQ(f.bar->ButtonCount(), 3);
    // Painted, clicked and opened from the keyboard afterwards: nothing freed is touched, nothing opens.
    UpdateWindow(f.form.Handle());
    RedrawWindow(view->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    UINT_PTR safety = SetTimer(nullptr, 0, 3000, EndMenuLater);
    SendMessageA(view->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(view->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(f.form.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    SendMessageA(f.form.Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_EQ(f.bar->State().Index, 1);
    SendMessageA(f.form.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    KillTimer(nullptr, safety);
    EXPECT_EQ(f.opened, "");
    EXPECT_FALSE(view->Pressed());
    // The neighbours keep their items.
    EXPECT_EQ(f.bar->Buttons(2)->Item()->Caption(), "&Help");
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

namespace {

// The platform's text of a window-menu entry and whether it is ours to draw.
struct TEntry {
    std::string Text;
    bool OwnerDrawn;
    ULONG_PTR Data;
};
TEntry EntryAt(HMENU menu, int pos) {
    char text[128] = {};
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    GetMenuItemInfoA(menu, static_cast<UINT>(pos), TRUE, &mii);
    if (!(mii.fType & MFT_OWNERDRAW)) GetMenuStringA(menu, static_cast<UINT>(pos), text, sizeof text, MF_BYPOSITION);
    return {text, (mii.fType & MFT_OWNERDRAW) != 0, mii.dwItemData};
}

// A multiple-document frame: File and Window drop-downs, two children.
struct TMDIFixture {
    TMDIFixture() {
        frame.SetFormStyle(fsMDIForm);
        frame.SetBounds(0, 0, 500, 400);
        auto* menu = new TMainMenu(&frame);
        TMenuItem* file = NewItem(&frame, "&File");
        file->Add(NewItem(&frame, "E&xit"));
        window = NewItem(&frame, "&Window");
        cascade = NewItem(&frame, "&Cascade");
        window->Add(cascade);
        window->Add(NewItem(&frame, "&Tile"));
        menu->Items()->Add(file);
        menu->Items()->Add(window);
        frame.SetMenu(menu);
        frame.SetWindowMenu(window);
        m97 = new TMainMenus97(&frame);
        m97->SetMainMenu(menu);
        frame.Show();
        for (auto* child : {&one, &two}) {
            *child = std::make_unique<TForm>(&frame);
            (*child)->SetFormStyle(fsMDIChild);
            (*child)->SetCaption(child == &one ? "Site one" : "Site two");
            (*child)->Show();
        }
    }
    // One menu loop that opens the window menu.
    void OpenWindowMenu() {
        SendMessageA(frame.Handle(), WM_ENTERMENULOOP, FALSE, 0);
        SendMessageA(frame.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(window->Handle()), 1);
    }
    TForm frame;
    TMenuItem* window;
    TMenuItem* cascade;
    TMainMenus97* m97;
    std::unique_ptr<TForm> one, two;  // freed before the frame
};

}  // namespace

TEST(MainMenus97MDI, TheWindowMenuListsTheChildrenAsOwnerDrawnItems) {
    TMDIFixture f;
    ASSERT_NE(f.frame.ClientHandle(), nullptr);
    HMENU popup = f.window->Handle();
    // The platform appends a separator and one entry per child after our two items.
    ASSERT_EQ(GetMenuItemCount(popup), 5);
    EXPECT_TRUE(f.m97->WindowListItems().empty()) << "nothing before the menu opens";
    f.OpenWindowMenu();
    const auto& list = f.m97->WindowListItems();
    ASSERT_EQ(list.size(), 2u);
    // Newest first: the entries were read top down and each put at the front.
    EXPECT_EQ(list[0]->Caption(), "&2 Site two");
    EXPECT_EQ(list[1]->Caption(), "&1 Site one");
    EXPECT_TRUE(list[0]->Checked()) << "the active child, as the platform marks it";
    EXPECT_FALSE(list[1]->Checked());
    for (TMenuItem* item : list) {
        EXPECT_EQ(item->Tag, -2);
        EXPECT_TRUE(item->Enabled());
        EXPECT_FALSE(item->RadioItem());
    }
    for (int pos = 3; pos < 5; ++pos) {
        const TEntry e = EntryAt(popup, pos);
        EXPECT_TRUE(e.OwnerDrawn) << pos;
        EXPECT_EQ(e.Data, reinterpret_cast<ULONG_PTR>(list[static_cast<size_t>(4 - pos)])) << pos;
        EXPECT_EQ(static_cast<int>(GetMenuItemID(popup, pos)), list[static_cast<size_t>(4 - pos)]->HelpContext);
    }
    EXPECT_FALSE(EntryAt(popup, 2).OwnerDrawn) << "the platform's separator stays";

    // The component measures an entry through the frame's messages.
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, GetMenuItemID(popup, 3), 0, 0, reinterpret_cast<ULONG_PTR>(list[1])};
    EXPECT_EQ(SendMessageA(f.frame.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), 1);
    EXPECT_GT(mis.itemWidth, static_cast<UINT>(f.m97->CheckW())) << "the caption counts";
    EXPECT_GT(mis.itemHeight, 0u);
}

TEST(MainMenus97MDI, ALaterLoopUpdatesTheEntriesWithoutDuplicating) {
    TMDIFixture f;
    f.OpenWindowMenu();
    // Same loop, the menu opened again: nothing is read twice.
    SendMessageA(f.frame.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(f.window->Handle()), 1);
    ASSERT_EQ(f.m97->WindowListItems().size(), 2u);
    const std::vector<TMenuItem*> first = f.m97->WindowListItems();
    SendMessageA(f.frame.ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f.one->Handle()), 0);
    f.OpenWindowMenu();
    const auto& list = f.m97->WindowListItems();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list, first) << "the same items, kept";
    EXPECT_FALSE(list[0]->Checked()) << "Site two is no longer active";
    EXPECT_TRUE(list[1]->Checked());
    EXPECT_TRUE(EntryAt(f.window->Handle(), 3).OwnerDrawn);
    EXPECT_TRUE(EntryAt(f.window->Handle(), 4).OwnerDrawn);
    // A loop that opens File before Window still reads the window menu.
    SendMessageA(f.frame.ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(f.two->Handle()), 0);
    SendMessageA(f.frame.Handle(), WM_ENTERMENULOOP, FALSE, 0);
    HMENU file = f.frame.Menu()->Items()->Items(0)->Handle();
    SendMessageA(f.frame.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
    EXPECT_TRUE(list[1]->Checked()) << "nothing read for the File menu";
    SendMessageA(f.frame.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(f.window->Handle()), 1);
    EXPECT_EQ(f.m97->WindowListItems().size(), 2u);
    EXPECT_TRUE(list[0]->Checked());
    EXPECT_FALSE(list[1]->Checked());
}

TEST(MainMenus97MDI, FindItemByCommandLooksInTheMenuThenInTheWindowList) {
    TMDIFixture f;
    f.OpenWindowMenu();
    HMENU popup = f.window->Handle();
    const UINT entry = GetMenuItemID(popup, 3);
    EXPECT_EQ(f.m97->FindItemByCommand(f.cascade->Command()), f.cascade);
    EXPECT_EQ(f.m97->FindItemByCommand(entry), f.m97->WindowListItems()[1]);
    EXPECT_EQ(f.m97->FindItemByCommand(GetMenuItemID(popup, 4)), f.m97->WindowListItems()[0]);
    EXPECT_EQ(f.m97->FindItemByCommand(0xFEFF), nullptr);
    // Without the window menu the form no longer counts as listing children.
    f.frame.SetWindowMenu(nullptr);
    EXPECT_EQ(f.m97->FindItemByCommand(entry), nullptr);
}

namespace {
// A 16 x 16 icon of one colour.
HICON SolidIcon(COLORREF colour) {
    TBitmap colourBits(16, 16);
    colourBits.Canvas().Brush.Color = static_cast<TColor>(colour);
    colourBits.Canvas().FillRect(RECT{0, 0, 16, 16});
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);  // all 0: opaque
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask);
    PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
    SelectObject(dc, old);
    DeleteDC(dc);
    ICONINFO info{TRUE, 0, 0, mask, colourBits.Handle()};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    return icon;
}
}  // namespace

// A maximised child puts its system menu (shown as its icon) and its three
// boxes on the frame's bar: the system menu becomes ours to draw, in the
// bar's look; the boxes (identifiers 60000 and above) stay the platform's.
TEST(MainMenus97MDI, AMaximisedChildsSystemMenuOnTheBarIsDrawnAsItsIcon) {
    TMDIFixture f;
    HICON green = SolidIcon(RGB(0, 200, 0));
    SendMessageA(f.two->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(green));
    SendMessageA(f.frame.ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(f.two->Handle()), 0);
    ASSERT_TRUE(IsZoomed(f.two->Handle()));
    HMENU bar = GetMenu(f.frame.Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 2 + 4) << "the child's system menu and its three boxes";
    ASSERT_EQ(f.m97->ChildEntryItems().size(), 1u);
    TMenuItem* entry = f.m97->ChildEntryItems()[0];
    const TEntry first = EntryAt(bar, 0);
    EXPECT_TRUE(first.OwnerDrawn);
    EXPECT_EQ(first.Data, reinterpret_cast<ULONG_PTR>(entry));
    for (int pos = 3; pos < 6; ++pos) {
        EXPECT_GE(GetMenuItemID(bar, pos), 60000u) << pos;
        EXPECT_NE(EntryAt(bar, pos).Data, reinterpret_cast<ULONG_PTR>(entry)) << pos << ": a box stays the platform's";
    }
    EXPECT_EQ(EntryAt(bar, 1).Data, reinterpret_cast<ULONG_PTR>(f.frame.Menu()->Items()->Items(0))) << "ours stay ours";
    // Measured and drawn through the frame's messages.
    MEASUREITEMSTRUCT mis{ODT_MENU, 0, 0, 0, 0, reinterpret_cast<ULONG_PTR>(entry)};
    EXPECT_EQ(SendMessageA(f.frame.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), 1);
    EXPECT_GE(static_cast<int>(mis.itemWidth), GetSystemMetrics(SM_CXSMICON));
    TBitmap b(40, 24);
    b.Canvas().Brush.Color = clRed;
    b.Canvas().FillRect(RECT{0, 0, 40, 24});
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemData = reinterpret_cast<ULONG_PTR>(entry);
    dis.hDC = b.Canvas().Handle();
    dis.rcItem = RECT{0, 0, 40, 24};
    SendMessageA(f.frame.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    EXPECT_EQ(b.PixelRGB(20, 12), 0x00C800u) << "the child's icon in the middle";
    EXPECT_EQ(b.PixelRGB(1, 1), Rgb(ColorToRGB(f.m97->BrushColor))) << "on the bar's brush";
    // Restored, the platform takes its entries away again.
    SendMessageA(f.frame.ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(f.two->Handle()), 0);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    DestroyIcon(green);
}

TEST(MDIForm, AChildNeedsAnMDIFrameAsOwner) {
    TForm plain;
    TForm child(&plain);
    EXPECT_THROW(child.SetFormStyle(fsMDIChild), Exception);
    TForm orphan;
    EXPECT_THROW(orphan.SetFormStyle(fsMDIChild), Exception);
    EXPECT_EQ(orphan.FormStyle(), fsNormal);
}
