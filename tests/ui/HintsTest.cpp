// The application's hints: the mouse over a control makes its hint the
// application's (a status bar follows), and after the pause the tooltip shows
// below the cursor; a click, a key or leaving takes it down. Driven by posted
// mouse messages with the real cursor put where they say it is.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "TestSupport.h"
#include "runtime/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Form.h"
#include "ui/HintTracker.h"
#include "ui/StdCtrls.h"

namespace {

// A form with hinted and hintless controls and a status bar following the application's hint.
struct THintForm : TForm {
    THintForm() {
        SetBounds(60, 60, 420, 260);
        connect = new TButton(this);
        connect->SetCaption("Connect");
        connect->Hint = "Connect.";
        connect->SetBounds(10, 10, 90, 30);
        refresh = new TButton(this);
        refresh->SetCaption("Refresh");
        refresh->Hint = "Refresh directory contents.";
        refresh->SetBounds(110, 10, 90, 30);
        plain = new TButton(this);
        plain->SetCaption("Plain");
        plain->SetBounds(210, 10, 90, 30);
        panel = new TPanel(this);
        panel->Hint = "The panel";
        panel->SetBounds(10, 60, 200, 80);
        inner = new TButton(panel);
        inner->SetCaption("Inner");
        inner->SetBounds(10, 10, 80, 25);
        status = new TStatusBar(this);
        status->SetSimplePanel(true);
        Application->OnHint = [this](TObject*) { status->SetSimpleText(Application->Hint()); };
    }
    ~THintForm() override { Application->OnHint = nullptr; }
    TButton *connect, *refresh, *plain, *inner;
    TPanel* panel;
    TStatusBar* status;
};

POINT Middle(TWinControl* c) {
    RECT r;
    GetWindowRect(c->Handle(), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Where the test last put the shared cursor.
POINT g_placed{};

void PlaceCursor(POINT at) {
    g_placed = at;
    SetCursorPos(at.x, at.y);
}

// The mouse comes to the middle of c: the cursor is put there and c hears of it.
void MoveTo(TWinControl* c) {
    PlaceCursor(Middle(c));
    PostMessageA(c->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(c->Width() / 2, c->Height() / 2));
}

bool TipShown() { return ApplicationHintWindow() && ApplicationHintWindow()->Showing(); }

// Runs a hint scenario again when another process moved the shared cursor
// away from where the test put it or took the activation.
void WithTheMouse(const std::function<void()>& attempt) {
    std::optional<qftest::ForeignActivation> watch;
    qftest::RetryWhileDisturbed(
        [&] {
            watch.reset();
            watch.emplace();
            THintTracker::Instance().MouseMoved(GetDesktopWindow(), {0, 0});  // the mouse off our windows
            attempt();
        },
        [&] {
            POINT now;
            GetCursorPos(&now);
            return now.x != g_placed.x || now.y != g_placed.y || watch->Taken();
        });
}

// Keeps the application's hint settings as they were.
struct TPauses {
    int pause = Application->HintPause, hide = Application->HintHidePause, next = Application->HintShortPause;
    ~TPauses() {
        Application->HintPause = pause;
        Application->HintHidePause = hide;
        Application->HintShortPause = next;
        Application->SetShowHint(true);
    }
};

}  // namespace

TEST(Hints, TheTipComesAfterThePauseBelowTheCursorAndTheStatusBarFollows) {
    TPauses keep;
    Application->HintPause = 500;
    THintForm f;
    f.Show();
    WithTheMouse([&] {
        MoveTo(f.connect);
        Application->ProcessMessages();
        EXPECT_EQ(Application->Hint(), "Connect.");
        EXPECT_EQ(f.status->SimpleText(), "Connect.") << "the status bar follows at once";
        EXPECT_FALSE(TipShown()) << "not before the pause";
        ASSERT_TRUE(qftest::PumpUntil(TipShown, 5000)) << "no tip came up";
        THintWindow* tip = ApplicationHintWindow();
        EXPECT_EQ(tip->Caption(), "Connect.");
        // Just below the cursor, as large as its text needs.
        POINT cursor;
        GetCursorPos(&cursor);
        HCURSOR shape = GetCursor() ? GetCursor() : LoadCursor(nullptr, IDC_ARROW);
        const RECT need = tip->CalcHintRect(GetSystemMetrics(SM_CXSCREEN), "Connect.");
        EXPECT_EQ(tip->Left(), cursor.x);
        EXPECT_EQ(tip->Top(), cursor.y + THintWindow::CursorHeight(shape));
        EXPECT_EQ(tip->Width(), need.right);
        EXPECT_EQ(tip->Height(), need.bottom);
        EXPECT_TRUE(GetWindowLongA(tip->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_NE(GetForegroundWindow(), tip->Handle()) << "shown without taking the activation";
    });
}

TEST(Hints, WhatTakesTheTipDownAsATable) {
    TPauses keep;
    Application->HintPause = 1;
    THintForm f;
    f.Show();
    struct Case {
        const char* what;
        std::function<void()> act;
        const char* hint;    // the application's hint afterwards
        TWinControl* rests;  // where the mouse stays (null: off our windows)
        int hidePause = 60000;
    } cases[] = {
        {"a click",
         [&] {
             PostMessageA(f.connect->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
             PostMessageA(f.connect->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
         },
         "Connect.", f.connect},
        {"a key", [&] { PostMessageA(f.connect->Handle(), WM_KEYDOWN, VK_SHIFT, 0); }, "Connect.", f.connect},
        {"the mouse on a control without a hint", [&] { MoveTo(f.plain); }, "", f.plain},
        {"the mouse off the program's windows",
         [&] { THintTracker::Instance().MouseMoved(GetDesktopWindow(), {0, 0}); }, "", nullptr},
        {"tooltips switched off", [&] { Application->SetShowHint(false); }, "Connect.", f.connect},
        {"the hide pause", [] {}, "Connect.", f.connect, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WithTheMouse([&] {
            Application->SetShowHint(true);
            Application->HintHidePause = c.hidePause;
            MoveTo(f.connect);
            ASSERT_TRUE(qftest::PumpUntil(TipShown, 5000)) << "no tip came up";
            c.act();
            ASSERT_TRUE(qftest::PumpUntil([] { return !TipShown(); }, 5000)) << "the tip stayed";
            EXPECT_EQ(Application->Hint(), c.hint);
            if (!c.rests) return;
            // Resting where it is, the mouse brings no tip back.
            PostMessageA(c.rests->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(c.rests->Width() / 2, 1 + c.rests->Height() / 2));
            qftest::PumpFor(100);
            EXPECT_FALSE(TipShown());
        });
    }
}

TEST(Hints, FromOneTipToTheNextTakesTheShortPause) {
    TPauses keep;
    THintForm f;
    f.Show();
    WithTheMouse([&] {
        Application->HintPause = 1;
        MoveTo(f.connect);
        ASSERT_TRUE(qftest::PumpUntil(TipShown, 5000));
        // A first tip would now wait a minute; the next one follows at once.
        Application->HintPause = 60000;
        Application->HintShortPause = 1;
        MoveTo(f.refresh);
        ASSERT_TRUE(qftest::PumpUntil(
            [] { return TipShown() && ApplicationHintWindow()->Caption() == "Refresh directory contents."; }, 5000));
        EXPECT_EQ(Application->Hint(), "Refresh directory contents.");
    });
}

TEST(Hints, AControlWithoutATipInBetweenBringsBackTheFullPause) {
    TPauses keep;
    THintForm f;
    f.Show();
    WithTheMouse([&] {
        Application->HintPause = 1;
        MoveTo(f.connect);
        ASSERT_TRUE(qftest::PumpUntil(TipShown, 5000));
        Application->HintPause = 60000;
        Application->HintShortPause = 1;
        MoveTo(f.plain);
        qftest::PumpFor(100);
        MoveTo(f.refresh);
        qftest::PumpFor(300);
        EXPECT_FALSE(TipShown()) << "a tip after a pause over a control without one waits the full pause";
        EXPECT_EQ(Application->Hint(), "Refresh directory contents.");
    });
}

TEST(Hints, ShowHintIsTheParentsUnlessTheControlSetsIt) {
    THintForm f;
    EXPECT_TRUE(f.ShowHint()) << "a form shows tooltips unless told not to";
    EXPECT_TRUE(f.inner->ShowHint());
    f.panel->SetShowHint(false);
    EXPECT_FALSE(f.panel->ParentShowHint());
    EXPECT_FALSE(f.inner->ShowHint()) << "follows its parent";
    EXPECT_TRUE(f.connect->ShowHint());
    f.inner->SetShowHint(true);
    EXPECT_TRUE(f.inner->ShowHint());
    f.inner->SetParentShowHint(true);
    EXPECT_FALSE(f.inner->ShowHint());
    // Without tooltips the hint still reaches the application (the status bar).
    TPauses keep;
    Application->HintPause = 1;
    f.Show();
    WithTheMouse([&] {
        MoveTo(f.panel);
        qftest::PumpFor(100);
        EXPECT_EQ(Application->Hint(), "The panel");
        EXPECT_FALSE(TipShown());
    });
}

TEST(Hints, TheControlUnderTheMouseAndWhoseHintItIsAsATable) {
    THintForm f;
    f.Show();
    f.refresh->SetEnabled(false);
    struct Case {
        const char* what;
        TWinControl* target;  // the window the mouse message goes to
        TWinControl* over;    // where the mouse is
        TWinControl* control;
        const char* hint;
        TWinControl* source;
    } cases[] = {
        {"a button with a hint", f.connect, f.connect, f.connect, "Connect.", f.connect},
        {"a disabled button: the form hears the mouse", &f, f.refresh, f.refresh, "Refresh directory contents.",
         f.refresh},
        {"a button without one: its panel's", f.inner, f.inner, f.inner, "The panel", f.panel},
        {"no hint up to the form", f.plain, f.plain, f.plain, "", &f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const POINT at = Middle(c.over);
        TWinControl* under = HintControlAt(c.target->Handle(), at);
        EXPECT_EQ(under, c.control);
        if (!under) continue;
        int part = 0;
        TWinControl* source = nullptr;
        EXPECT_EQ(HintOfControl(under, at, part, source), c.hint);
        EXPECT_EQ(source, c.source);
        EXPECT_EQ(part, -1);
    }
}

TEST(Hints, AControlGoingTakesItsTipAlong) {
    TPauses keep;
    Application->HintPause = 1;
    THintForm f;
    f.Show();
    WithTheMouse([&] {
        MoveTo(f.connect);
        ASSERT_TRUE(qftest::PumpUntil(TipShown, 5000));
    });
    delete f.connect;
    EXPECT_FALSE(TipShown());
    qftest::PumpFor(150);  // the tracker's timers find nothing gone
    EXPECT_FALSE(TipShown());
}

TEST(Hints, TheTipsOfAToolbarFollowTheButtonUnderTheMouse) {
    TPauses keep;
    Application->HintPause = 1;
    Application->HintShortPause = 1;
    THintForm f;
    auto* bar = new TToolBar(&f);
    bar->SetAlign(alNone);
    bar->SetBounds(10, 150, 300, 29);
    TToolButton* one = bar->AddButton();
    one->Hint = "First";
    TToolButton* two = bar->AddButton();
    two->Hint = "Second";
    f.Show();
    auto moveOnto = [&](TToolButton* b) {
        RECT r{};
        SendMessageA(bar->Handle(), TB_GETRECT, b->Command(), reinterpret_cast<LPARAM>(&r));
        POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(bar->Handle(), &at);
        PlaceCursor(at);
        PostMessageA(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    };
    WithTheMouse([&] {
        for (TToolButton* b : {one, two}) {
            moveOnto(b);
            ASSERT_TRUE(qftest::PumpUntil([&] { return TipShown() && ApplicationHintWindow()->Caption() == b->Hint; },
                                          5000))
                << b->Hint;
            EXPECT_EQ(Application->Hint(), b->Hint);
        }
    });
}
