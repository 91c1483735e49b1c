// A form with a flat button, a status bar and an owner-drawn menu, with the
// hint style on it: the mouse resting on the button brings the style's tip
// where the style puts it, the status bar follows the application's hint, and
// the menu's items give their hints while the menu is open.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ComponentTestSupport.h"
#include "TestSupport.h"
#include "components/Hint95.h"
#include "components/Menus97.h"
#include "components/ToolbarButton97.h"
#include "runtime/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Form.h"
#include "ui/HintTracker.h"

namespace {

struct THintedForm : TForm {
    THintedForm() {
        SetBounds(80, 80, 400, 240);
        connect = new TToolbarButton97(this);
        connect->SetBounds(10, 10, 30, 38);
        connect->Hint = "Connect.";
        status = new TStatusBar(this);
        status->SetSimplePanel(true);
        menu = new TMainMenu(this);
        file = new TMenuItem(this);
        file->SetCaption("&File");
        file->Tag = -1;
        exitItem = new TMenuItem(this);
        exitItem->SetCaption("E&xit");
        exitItem->Tag = -2;
        exitItem->Hint = "Exit Velmora Larch FTP.";
        file->Add(exitItem);
        menu->Items()->Add(file);
        SetMenu(menu);
        menus97 = new TMainMenus97(this);
        menus97->SetMainMenu(menu);
        style = new THint95(this);
        style->SetHintStyle(hsOffice97);
        Application->OnHint = [this](TObject*) { status->SetSimpleText(Application->Hint()); };
    }
    ~THintedForm() override { Application->OnHint = nullptr; }
    TToolbarButton97* connect;
    TStatusBar* status;
    TMainMenu* menu;
    TMenuItem *file, *exitItem;
    TMainMenus97* menus97;
    THint95* style;
};

bool TipShown() { return ApplicationHintWindow() && ApplicationHintWindow()->Showing(); }

THintedForm* g_form = nullptr;
int g_hintTicks = 0;
std::string g_statusInMenu;
void CALLBACK SelectThenClose(HWND, UINT, UINT_PTR id, DWORD) {
    if (++g_hintTicks == 1) {
        PostMessageA(g_form->Handle(), WM_KEYDOWN, VK_DOWN, 0);  // the menu's loop takes it
        return;
    }
    g_statusInMenu = g_form->status->SimpleText();
    KillTimer(nullptr, id);
    EndMenu();
}

}  // namespace

TEST(Hint95, ATipOverAButtonInTheStylesPlaceAndTheMenusHintsInTheStatusBar) {
    THintedForm f;
    ASSERT_EQ(Application->MainForm(), &f) << "the first form is the main form, whose THint95 gives the style";
    EXPECT_EQ(Application->HintPause, 500);
    f.Show();
    RECT b;
    GetWindowRect(f.connect->Handle(), &b);
    const POINT middle{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    std::optional<qftest::ForeignActivation> watch;
    qftest::RetryWhileDisturbed(
        [&] {
            watch.reset();
            watch.emplace();
            THintTracker::Instance().MouseMoved(GetDesktopWindow(), {0, 0});
            SetCursorPos(middle.x, middle.y);
            PostMessageA(f.connect->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(15, 19));
            Application->ProcessMessages();
            EXPECT_EQ(f.status->SimpleText(), "Connect.") << "the status bar follows at once";
            EXPECT_FALSE(TipShown()) << "not before the pause";
            ASSERT_TRUE(qftest::PumpUntil(TipShown, 5000)) << "no tip came up";
            auto* tip = dynamic_cast<THintWindow95*>(ApplicationHintWindow());
            ASSERT_NE(tip, nullptr) << "the style's window class";
            EXPECT_EQ(tip->Style(), hsOffice97);
            EXPECT_EQ(tip->Caption(), "Connect.");
            // Just below the cursor's shape, one pixel lower, its text's size plus 6 and 6.
            HDC dc = GetDC(nullptr);
            HGDIOBJ old = SelectObject(dc, f.style->HintFont().Handle());
            RECT text{0, 0, 0, 0};
            DrawTextA(dc, "Connect.", -1, &text, DT_CALCRECT | DT_NOPREFIX);
            SelectObject(dc, old);
            ReleaseDC(nullptr, dc);
            const THintRect want =
                PlaceHint(hsOffice97, middle.x, middle.y, THintWindow::CursorHeight(GetCursor()), text.right,
                          text.bottom, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
            EXPECT_EQ(tip->Left(), want.Left);
            EXPECT_EQ(tip->Top(), want.Top);
            EXPECT_EQ(tip->Width(), text.right + 6);
            EXPECT_EQ(tip->Height(), text.bottom + 6);
            // Its frame: one window-frame line all round, the tip's colour inside.
            TBitmap shot;
            Snapshot(*tip, shot);
            const uint32_t frame = SysRGB(COLOR_WINDOWFRAME), inside = SysRGB(COLOR_INFOBK);
            EXPECT_EQ(shot.PixelRGB(0, shot.Height() / 2), frame);
            EXPECT_EQ(shot.PixelRGB(shot.Width() - 1, shot.Height() / 2), frame);
            EXPECT_EQ(shot.PixelRGB(1, 1), inside);
        },
        [&] {
            POINT now;
            GetCursorPos(&now);
            return now.x != middle.x || now.y != middle.y || watch->Taken();
        });
    // A click takes the tip down; the status bar keeps the button's hint.
    PostMessageA(f.connect->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 19));
    PostMessageA(f.connect->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(15, 19));
    EXPECT_TRUE(qftest::PumpUntil([] { return !TipShown(); }, 5000));
    Application->ProcessMessages();  // the release too, which would close the menu below
    // The menu opened from the keyboard: its item's hint is in the status bar
    // while it is selected, and gone when the menu closes.
    g_form = &f;
    g_hintTicks = 0;
    g_statusInMenu.clear();
    UINT_PTR timer = SetTimer(nullptr, 0, 100, SelectThenClose);
    SendMessageA(f.Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_statusInMenu, "Exit Velmora Larch FTP.");
    EXPECT_EQ(f.status->SimpleText(), "");
    EXPECT_EQ(Application->Hint(), "");
}

TEST(Menus97, TheSelectedItemsHintBecomesTheApplicationsThroughOnHint) {
    TForm f;
    f.SetBounds(20, 20, 300, 200);
    TMainMenu* menu = new TMainMenu(&f);
    auto* file = new TMenuItem(&f);
    file->SetCaption("&File");
    file->Tag = -1;
    auto* exitItem = new TMenuItem(&f);
    exitItem->SetCaption("E&xit");
    exitItem->Tag = -2;
    exitItem->Hint = "Exit Velmora Larch FTP.";
    file->Add(exitItem);
    menu->Items()->Add(file);
    f.SetMenu(menu);
    TMainMenus97 m97(&f);
    m97.SetMainMenu(menu);
    f.Show();
    auto draw = [&](UINT state) {
        TBitmap b(200, 21);
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = exitItem->Command();
        dis.itemData = reinterpret_cast<ULONG_PTR>(exitItem);
        dis.hDC = b.Canvas().Handle();
        dis.rcItem = {0, 0, 200, 21};
        dis.itemState = state;
        SendMessageA(f.Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    };
    Application->SetHint("");
    draw(0);
    EXPECT_EQ(Application->Hint(), "") << "an item drawn unselected gives no hint";
    draw(ODS_SELECTED);
    EXPECT_EQ(Application->Hint(), "Exit Velmora Larch FTP.");
    // OnHint answers for the item's hint, which the item keeps.
    TMenu* seenMenu = nullptr;
    m97.OnHint = [&](TMenu* control, TMenuItem* item, const std::string& hint) {
        seenMenu = control;
        return item->Caption() + ": " + hint;
    };
    Application->SetHint("");
    draw(ODS_SELECTED);
    EXPECT_EQ(seenMenu, menu);
    EXPECT_EQ(exitItem->Hint, "E&xit: Exit Velmora Larch FTP.");
    EXPECT_EQ(Application->Hint(), "E&xit: Exit Velmora Larch FTP.");
}
