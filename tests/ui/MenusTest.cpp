// Menus driven through the platform's menus and the messages they send.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "runtime/Application.h"
#include "ui/Form.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace {

TMenuItem* NewItem(TComponent* owner, const std::string& caption, TShortCut sc = 0) {
    auto* i = new TMenuItem(owner);
    i->SetCaption(caption);
    i->SetShortCut(sc);
    return i;
}

std::string EntryText(HMENU menu, int pos) {
    char buf[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(pos), buf, sizeof buf, MF_BYPOSITION);
    return buf;
}

UINT EntryState(HMENU menu, UINT command) {
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_FTYPE;
    GetMenuItemInfoA(menu, command, FALSE, &mii);
    return mii.fState;
}

UINT EntryType(HMENU menu, UINT command) {
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    GetMenuItemInfoA(menu, command, FALSE, &mii);
    return mii.fType;
}

// A form with the menu tree of a small program.
class TMenuForm : public TForm {
public:
    TMenuForm() {
        SetName("frmMenus");
        menu = new TMainMenu(this);
        file = NewItem(this, "&File");
        open = NewItem(this, "&Open search...", ShortCut('O', ssCtrl));
        help = NewItem(this, "&Help", ShortCut(VK_F1, ssCtrl));
        contents = NewItem(this, "&Contents...", VK_F1);
        quit = NewItem(this, "Quit", ShortCut('Q', ssCtrl));
        file->Add(open);
        file->Add(NewItem(this, "-"));
        file->Add(quit);
        view = NewItem(this, "&View");
        for (const char* c : {"&LargeIcons", "&Small icons", "&List"}) {
            TMenuItem* i = NewItem(this, c);
            i->SetRadioItem(true);
            i->SetGroupIndex(1);
            view->Add(i);
        }
        menu->Items()->Add(file);
        menu->Items()->Add(view);
        auto* helpMenu = NewItem(this, "&Help");
        helpMenu->Add(help);
        helpMenu->Add(contents);
        menu->Items()->Add(helpMenu);
        edit = new TEdit(this);
        SetMenu(menu);
    }
    TMainMenu* menu;
    TMenuItem *file, *open, *quit, *view, *help, *contents;
    TEdit* edit;
};

}  // namespace

TEST(Menus, ShortCutTexts) {
    struct Row {
        const char* name;
        WORD key;
        TShiftState shift;
        const char* text;
    } rows[] = {
        {"ctrl letter", 'N', ssCtrl, "Ctrl+N"},
        {"function key", VK_F1, 0, "F1"},
        {"ctrl function key", VK_F5, ssCtrl, "Ctrl+F5"},
        {"shift del", VK_DELETE, ssShift, "Shift+Del"},
        {"all modifiers", 'S', ssShift | ssCtrl | ssAlt, "Shift+Ctrl+Alt+S"},
        {"digit", '7', ssAlt, "Alt+7"},
        {"enter", VK_RETURN, 0, "Enter"},
        {"no key", 0, ssCtrl, ""},
    };
    for (const Row& r : rows) {
        const TShortCut sc = ShortCut(r.key, r.shift);
        EXPECT_EQ(ShortCutToText(sc), r.text) << r.name;
        WORD key;
        TShiftState shift;
        ShortCutToKey(sc, key, shift);
        EXPECT_EQ(key, r.key) << r.name;
        EXPECT_EQ(shift, r.shift) << r.name;
    }
}

TEST(Menus, TreeIsThePlatformMenuOfTheForm) {
    TMenuForm f;
    HMENU bar = GetMenu(f.Handle());
    ASSERT_EQ(bar, f.menu->Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(EntryText(bar, 0), "&File");
    HMENU fileMenu = GetSubMenu(bar, 0);
    EXPECT_EQ(fileMenu, f.file->Handle());
    EXPECT_EQ(EntryText(fileMenu, 0), "&Open search...\tCtrl+O");
    EXPECT_EQ(EntryType(fileMenu, f.file->Items(1)->Command()) & MFT_SEPARATOR, static_cast<UINT>(MFT_SEPARATOR));

    // Changes reach the platform menu at once.
    f.open->SetEnabled(false);
    EXPECT_TRUE(EntryState(fileMenu, f.open->Command()) & MFS_GRAYED);
    f.open->SetVisible(false);
    EXPECT_EQ(GetMenuItemCount(fileMenu), 2);
    f.open->SetVisible(true);
    EXPECT_EQ(GetMenuItemCount(fileMenu), 3);
    f.quit->SetCaption("E&xit");
    EXPECT_EQ(EntryText(fileMenu, 2), "E&xit\tCtrl+Q");

    // Radio items of one group: checking one clears the others.
    f.view->Items(0)->SetChecked(true);
    f.view->Items(2)->SetChecked(true);
    EXPECT_FALSE(f.view->Items(0)->Checked());
    EXPECT_FALSE(EntryState(f.view->Handle(), f.view->Items(0)->Command()) & MFS_CHECKED);
    EXPECT_TRUE(EntryState(f.view->Handle(), f.view->Items(2)->Command()) & MFS_CHECKED);
    EXPECT_TRUE(EntryType(f.view->Handle(), f.view->Items(2)->Command()) & MFT_RADIOCHECK);
}

TEST(Menus, CommandsAndOpeningDropDownsRunOnClick) {
    TMenuForm f;
    std::vector<std::string> clicks;
    f.open->OnClick = [&](TObject* s) { clicks.push_back(static_cast<TMenuItem*>(s)->Caption()); };
    f.file->OnClick = [&](TObject*) { clicks.push_back("file opens"); };
    SendMessageA(f.Handle(), WM_COMMAND, MAKEWPARAM(f.open->Command(), 0), 0);
    SendMessageA(f.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(f.file->Handle()), 0);
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0], "&Open search...");
    EXPECT_EQ(clicks[1], "file opens");
}

TEST(Menus, ItemsAddedAndDeletedAtRunTime) {
    // As a list of sites: items tagged 100 and up are replaced.
    TMenuForm f;
    TMenuItem* servers = NewItem(&f, "Ser&vers");
    f.menu->Items()->Insert(2, servers);
    servers->Add(NewItem(&f, "&Add server"));
    for (int t = 100; t <= 102; ++t) {
        TMenuItem* i = NewItem(&f, "placeholder");
        i->Tag = t;
        servers->Add(i);
    }
    for (int i = servers->Count() - 1; i >= 0; --i)
        if (servers->Items(i)->Tag >= 100) servers->Delete(i);
    int chosen = 0;
    for (int i = 0; i < 2; ++i) {
        TMenuItem* site = NewItem(Application, std::to_string(i + 1) + ". site");
        site->Tag = 101 + i;
        site->OnClick = [&chosen](TObject* s) { chosen = static_cast<TMenuItem*>(s)->Tag; };
        servers->Add(site);
    }
    HMENU m = GetSubMenu(f.menu->Handle(), 2);
    ASSERT_EQ(m, servers->Handle());
    ASSERT_EQ(GetMenuItemCount(m), 3);
    EXPECT_EQ(EntryText(m, 2), "2. site");
    SendMessageA(f.Handle(), WM_COMMAND, servers->Items(2)->Command(), 0);
    EXPECT_EQ(chosen, 102);
    // A freed item is gone from its menu and its command number means nothing.
    const UINT gone = servers->Items(1)->Command();
    delete servers->Items(1);
    EXPECT_EQ(GetMenuItemCount(m), 2);
    EXPECT_FALSE(SendMessageA(f.Handle(), WM_COMMAND, gone, 0));
    EXPECT_EQ(TMenuItem::FromCommand(gone), nullptr);
    EXPECT_THROW(servers->Add(servers), Exception);
}

TEST(Menus, MenuSurvivesTheFormWindowBeingMadeAgain) {
    TMenuForm f;
    HMENU bar = f.menu->Handle();
    f.SetBorderStyle(bsDialog);  // recreates the window
    EXPECT_TRUE(IsMenu(bar));
    EXPECT_EQ(GetMenu(f.Handle()), bar);
    f.SetMenu(nullptr);
    EXPECT_EQ(GetMenu(f.Handle()), nullptr);
    EXPECT_TRUE(IsMenu(bar));
}

TEST(Menus, ShortCutKeysOfTheActiveFormClickTheirItems) {
    TMenuForm f;
    f.Show();
    int contents = 0, help = 0;
    f.contents->OnClick = [&](TObject*) { ++contents; };
    f.help->OnClick = [&](TObject*) { ++help; };
    PostMessageA(f.edit->Handle(), WM_KEYDOWN, VK_F1, 0);
    qftest::PumpFor(30);
    EXPECT_EQ(contents, 1);
    // With Ctrl held the same key is the other item's.
    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE held[256];
    memcpy(held, keys, sizeof held);
    held[VK_CONTROL] = 0x80;
    SetKeyboardState(held);
    PostMessageA(f.edit->Handle(), WM_KEYDOWN, VK_F1, 0);
    qftest::PumpFor(30);
    SetKeyboardState(keys);
    EXPECT_EQ(help, 1);
    EXPECT_EQ(contents, 1);
    // A disabled item's key goes to the control instead.
    f.contents->SetEnabled(false);
    EXPECT_FALSE(f.menu->IsShortCut(VK_F1, 0));
}

namespace {
// What an owner-drawn menu component does: measures and draws the items.
class TDrawingHook : public TMenuHook {
public:
    bool MenuMessage(TMenu&, HWND, TMessage& m) override {
        if (m.Msg == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
            if (mis->CtlType != ODT_MENU) return false;
            measured.push_back(TMenuItem::FromData(mis->itemData));
            mis->itemWidth = 80;
            mis->itemHeight = 30;
            m.Result = TRUE;
            return true;
        }
        if (m.Msg == WM_DRAWITEM) {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
            if (dis->CtlType != ODT_MENU) return false;
            drawn.push_back(TMenuItem::FromData(dis->itemData));
            heights.push_back(dis->rcItem.bottom - dis->rcItem.top);
            if (endOnDraw) EndMenu();
            m.Result = TRUE;
            return true;
        }
        if (m.Msg == WM_ENTERIDLE && endOnDraw) EndMenu();
        return false;
    }
    void MenuChanged(TMenu&) override { ++changes; }
    std::vector<TMenuItem*> measured, drawn;
    std::vector<int> heights;
    int changes = 0;
    bool endOnDraw = false;
};
}  // namespace

TEST(Menus, OwnerDrawnBarItemsReachTheComponentThroughTheForm) {
    TMenuForm f;
    TDrawingHook hook;
    f.menu->AddHook(&hook);
    f.menu->SetOwnerDraw(true);
    EXPECT_GE(hook.changes, 1);
    EXPECT_TRUE(EntryType(f.file->Handle(), f.open->Command()) & MFT_OWNERDRAW);
    EXPECT_TRUE(EntryType(f.file->Handle(), f.file->Items(1)->Command()) & MFT_SEPARATOR) << "lines stay platform lines";

    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = f.open->Command();
    mis.itemData = reinterpret_cast<ULONG_PTR>(f.open);
    EXPECT_TRUE(SendMessageA(f.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
    EXPECT_EQ(mis.itemHeight, 30u);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = f.quit->Command();
    dis.itemData = reinterpret_cast<ULONG_PTR>(f.quit);
    dis.rcItem = {0, 0, 80, 30};
    EXPECT_TRUE(SendMessageA(f.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)));
    ASSERT_FALSE(hook.measured.empty());
    EXPECT_EQ(hook.measured.back(), f.open);
    // The platform measured the owner-drawn bar items through the form, too.
    EXPECT_NE(std::find(hook.measured.begin(), hook.measured.end(), f.file), hook.measured.end());
    ASSERT_EQ(hook.drawn.size(), 1u);
    EXPECT_EQ(hook.drawn[0], f.quit);
    f.menu->RemoveHook(&hook);
}

namespace {
void CALLBACK EndMenuLater(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }
}  // namespace

TEST(Menus, PopupRaisesOnPopupAndItsOwnerDrawnItemsAreDrawnByTheHook) {
    TForm owner;
    auto* pop = new TPopupMenu(&owner);
    auto* del = NewItem(&owner, "&Delete");
    auto* ren = NewItem(&owner, "Re&name");
    pop->Items()->Add(del);
    pop->Items()->Add(ren);
    int popups = 0, deletes = 0;
    pop->OnPopup = [&](TObject*) {
        ++popups;
        ren->SetEnabled(false);  // as a handler enabling items by the selection
    };
    del->OnClick = [&](TObject*) { ++deletes; };
    TDrawingHook hook;
    hook.endOnDraw = true;
    pop->AddHook(&hook);
    pop->SetOwnerDraw(true);
    // A safety net: the menu loop must end even if no item were drawn.
    UINT_PTR timer = SetTimer(nullptr, 0, 3000, EndMenuLater);
    pop->Popup(10, 10);
    KillTimer(nullptr, timer);
    EXPECT_EQ(popups, 1);
    EXPECT_TRUE(EntryState(pop->Handle(), ren->Command()) & MFS_GRAYED);
    ASSERT_FALSE(hook.measured.empty()) << "the tracked menu measured its items through the hook";
    EXPECT_EQ(hook.measured[0], del);
    ASSERT_FALSE(hook.drawn.empty());
    EXPECT_EQ(hook.heights[0], 30);
    // The choice comes back as WM_COMMAND to the utility window.
    SendMessageA(TPopupMenu::UtilWindow(), WM_COMMAND, del->Command(), 0);
    EXPECT_EQ(deletes, 1);
}

TEST(Menus, SelectingAnItemMakesItsHintTheApplicationsAsATable) {
    TMenuForm f;
    f.file->Hint = "File commands";
    f.open->Hint = "Opens a search";
    f.quit->Hint = "Ends the program";
    f.Show();
    auto* pop = new TPopupMenu(&f);
    TMenuItem* del = NewItem(&f, "&Delete");
    del->Hint = "Deletes the chosen files";
    pop->Items()->Add(del);
    const HWND form = f.Handle(), util = TPopupMenu::UtilWindow();
    auto bar = reinterpret_cast<LPARAM>(f.menu->Handle());
    auto fileMenu = reinterpret_cast<LPARAM>(f.file->Handle());
    struct Case {
        const char* what;
        HWND window;
        WPARAM wp;
        LPARAM lp;
        const char* hint;
    } cases[] = {
        {"an item", form, MAKEWPARAM(f.open->Command(), MF_STRING | MF_MOUSESELECT), fileMenu, "Opens a search"},
        {"a drop-down by its position", form, MAKEWPARAM(0, MF_POPUP | MF_MOUSESELECT), bar, "File commands"},
        {"a line", form, MAKEWPARAM(f.file->Items(1)->Command(), MF_SEPARATOR), fileMenu, ""},
        {"another item", form, MAKEWPARAM(f.quit->Command(), MF_STRING), fileMenu, "Ends the program"},
        {"the system menu", form, MAKEWPARAM(SC_CLOSE, MF_SYSMENU), reinterpret_cast<LPARAM>(GetSystemMenu(form, FALSE)), ""},
        {"an item not ours", form, MAKEWPARAM(60999, MF_STRING), fileMenu, ""},
        {"the menu closing", form, MAKEWPARAM(0, 0xFFFF), 0, ""},
        {"a popup's item", util, MAKEWPARAM(del->Command(), MF_STRING), reinterpret_cast<LPARAM>(pop->Handle()),
         "Deletes the chosen files"},
        {"the popup closing", util, MAKEWPARAM(0, 0xFFFF), 0, ""},
    };
    for (const Case& c : cases) {
        Application->SetHint("before");
        SendMessageA(c.window, WM_MENUSELECT, c.wp, c.lp);
        EXPECT_EQ(Application->Hint(), c.hint) << c.what;
    }
    // Leaving the menu loop clears what an item left.
    Application->SetHint("Opens a search");
    SendMessageA(form, WM_EXITMENULOOP, FALSE, 0);
    EXPECT_EQ(Application->Hint(), "");
}

namespace {
HWND g_menuOwner = nullptr;
int g_menuTicks = 0;
std::string g_hintInLoop;
void CALLBACK SelectFirstThenClose(HWND, UINT, UINT_PTR id, DWORD) {
    if (++g_menuTicks == 1) {
        PostMessageA(g_menuOwner, WM_KEYDOWN, VK_DOWN, 0);  // the menu's loop takes the key
        return;
    }
    g_hintInLoop = Application->Hint();
    KillTimer(nullptr, id);
    EndMenu();
}
}  // namespace

TEST(Menus, AnItemSelectedInAnOpenMenuShowsItsHintUntilTheMenuCloses) {
    TForm owner;
    auto* pop = new TPopupMenu(&owner);
    TMenuItem* del = NewItem(&owner, "&Delete");
    del->Hint = "Deletes the chosen files";
    pop->Items()->Add(del);
    pop->Items()->Add(NewItem(&owner, "Re&name"));
    std::vector<std::string> seen;
    Application->OnHint = [&](TObject*) { seen.push_back(Application->Hint()); };
    g_menuOwner = TPopupMenu::UtilWindow();
    g_menuTicks = 0;
    g_hintInLoop.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 100, SelectFirstThenClose);
    pop->Popup(10, 10);
    KillTimer(nullptr, timer);
    Application->OnHint = nullptr;
    EXPECT_EQ(g_hintInLoop, "Deletes the chosen files");
    EXPECT_EQ(Application->Hint(), "") << "cleared as the menu closed";
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), "");
}
