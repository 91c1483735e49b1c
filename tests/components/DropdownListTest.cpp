// The drop-down part of toolbar buttons and the router of their menus.
#include <gtest/gtest.h>

#include "ComponentTestSupport.h"
#include "components/DropdownList.h"
#include "runtime/Application.h"
#include "components/ToolbarButton97.h"
#include "ui/Form.h"

namespace {

HWND g_router = nullptr;
UINT g_command = 0;
int g_ticks = 0;

// Runs while the menu is tracked: closes it and sends the chosen command as the platform would.
void CALLBACK ChooseAndClose(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ++g_ticks;
    EndMenu();
    PostMessageA(g_router, WM_COMMAND, g_command, 0);
}

}  // namespace

TEST(DropdownList, SharedMenuRegisteredOnceAndFreedMenusLeave) {
    TForm f;
    auto* menu = new TPopupMenu(&f);
    TToolbarButton97 a(&f), b(&f);
    const int before = TDropdownList::Instance().MenuCount();
    a.SetDropdownMenu(menu);
    b.SetDropdownMenu(menu);
    EXPECT_EQ(TDropdownList::Instance().MenuCount(), before + 1);
    EXPECT_NE(TDropdownList::Instance().Window(), nullptr);
    delete menu;
    EXPECT_EQ(TDropdownList::Instance().MenuCount(), before);
    EXPECT_EQ(a.DropdownMenu(), nullptr) << "the button forgets a freed menu";
    if (before == 0) {
        EXPECT_EQ(TDropdownList::Instance().Window(), nullptr) << "the last menu gone releases the window";
    }
    TPopupMenu again(&f);
    a.SetDropdownMenu(&again);
    EXPECT_NE(TDropdownList::Instance().Window(), nullptr) << "a later menu makes a new window";
    a.SetDropdownMenu(nullptr);
}

TEST(DropdownList, ComboButtonArrowDropsTheMenuAndItsCommandComesBack) {
    TForm f;
    f.SetBounds(30, 30, 200, 100);
    TPopupMenu menu(&f);
    auto* open = new TMenuItem(&menu);
    open->SetCaption("&Open");
    open->Hint = "Opens the file";
    menu.Items()->Add(open);
    auto* line = new TMenuItem(&menu);
    line->SetCaption("-");
    menu.Items()->Add(line);
    TToolbarButton97 b(&f);
    b.SetBounds(10, 10, 23, 22);
    b.SetDropdownCombo(true);
    EXPECT_EQ(b.Width(), 34) << "eleven pixels for the arrow part";
    b.SetDropdownMenu(&menu);
    f.Show();
    int clicks = 0, popups = 0, chosen = 0;
    b.OnClick = [&](TObject*) { ++clicks; };
    menu.OnPopup = [&](TObject*) { ++popups; };
    open->OnClick = [&](TObject*) { ++chosen; };
    // The main part clicks and drops nothing.
    SendMessageA(b.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(b.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(popups, 0);
    // The arrow part drops the menu without a click; the choice comes back through the router.
    g_router = TDropdownList::Instance().Window();
    g_command = open->Command();
    g_ticks = 0;
    SetTimer(nullptr, 0, 50, ChooseAndClose);
    SendMessageA(b.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(28, 5));
    EXPECT_EQ(g_ticks, 1) << "the menu was tracked";
    Drain();
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(menu.Alignment, paLeft) << "alignment restored";
    EXPECT_EQ(menu.PopupComponent, &b);
    // Hints of items under the mouse become the application's; empty over a line or an unknown item.
    TDropdownList& router = TDropdownList::Instance();
    SendMessageA(router.Window(), WM_MENUSELECT, MAKEWPARAM(open->Command(), MF_STRING), reinterpret_cast<LPARAM>(menu.Handle()));
    EXPECT_EQ(Application->Hint(), "Opens the file");
    SendMessageA(router.Window(), WM_MENUSELECT, MAKEWPARAM(line->Command(), MF_SEPARATOR), reinterpret_cast<LPARAM>(menu.Handle()));
    EXPECT_EQ(Application->Hint(), "");
    SendMessageA(router.Window(), WM_MENUSELECT, MAKEWPARAM(60999, MF_STRING), 0);
    EXPECT_EQ(Application->Hint(), "");
}

TEST(DropdownList, HelpOverAnItemGoesToTheActiveForm) {
    TForm f;
    f.SetBounds(30, 30, 200, 100);
    TPopupMenu menu(&f), unregistered(&f);
    menu.Items()->HelpContext = 7;
    auto* open = new TMenuItem(&menu);
    open->SetCaption("&Open");
    open->HelpContext = 42;
    menu.Items()->Add(open);
    auto* save = new TMenuItem(&menu);
    save->SetCaption("&Save");
    menu.Items()->Add(save);
    TToolbarButton97 b(&f);
    b.SetDropdownMenu(&menu);
    f.Show();
    SetActiveWindow(f.Handle());
    TDropdownList& router = TDropdownList::Instance();
    TForm* askedForm = nullptr;
    UINT askedCommand = 0;
    int askedContext = -1, asked = 0;
    router.OnHelp = [&](TForm* form, UINT command, int context) {
        askedForm = form;
        askedCommand = command;
        askedContext = context;
        ++asked;
    };
    auto help = [&](HMENU handle, int id) {
        HELPINFO info{};
        info.cbSize = sizeof info;
        info.iContextType = HELPINFO_MENUITEM;
        info.iCtrlId = id;
        info.hItemHandle = handle;
        return SendMessageA(router.Window(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    };
    struct Case {
        const char* name;
        std::function<void()> before;
        HMENU handle;
        int id;
        int asked, context;
        UINT command;
    } cases[] = {
        {"an item's own topic", [] {}, menu.Handle(), static_cast<int>(open->Command()), 1, 42, HELP_CONTEXT},
        {"an item without one: its menu's", [] {}, menu.Handle(), static_cast<int>(save->Command()), 1, 7, HELP_CONTEXT},
        {"the help button: a pop-up topic",
         [&] { SetWindowLongPtrA(f.Handle(), GWL_EXSTYLE, GetWindowLongPtrA(f.Handle(), GWL_EXSTYLE) | WS_EX_CONTEXTHELP); },
         menu.Handle(), static_cast<int>(open->Command()), 1, 42, HELP_CONTEXTPOPUP},
        {"a menu not registered: not ours", [] {}, unregistered.Handle(), 1, 0, -1, 0},
        {"no active form: nothing", [] { SetActiveWindow(nullptr); }, menu.Handle(), static_cast<int>(open->Command()), 0, -1, 0},
    };
    for (const Case& c : cases) {
        c.before();
        asked = 0;
        askedContext = -1;
        askedCommand = 0;
        help(c.handle, c.id);
        EXPECT_EQ(asked, c.asked) << c.name;
        EXPECT_EQ(askedContext, c.context) << c.name;
        EXPECT_EQ(askedCommand, c.command) << c.name;
        if (c.asked) {
            EXPECT_EQ(askedForm, &f) << c.name;
        }
    }
    router.OnHelp = nullptr;
    b.SetDropdownMenu(nullptr);
}
