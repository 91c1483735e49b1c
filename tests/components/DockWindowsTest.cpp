// Dock bars and tool windows as real windows: rows and positions in the
// dock, docking, floating, dragging and the double click back.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <utility>

#include "ComponentTestSupport.h"
#include "TestSupport.h"
#include "TestToolWindow.h"
#include "components/DragOutline.h"

namespace {

// Docked size of a test window of length 100: grip 9 and 2 pixels a side.
const int kDockedLength = 100 + 9 + 4;
const int kDockedThickness = 22 + 4;

struct DockForm {
    DockForm() {
        form.SetBounds(0, 0, 600, 400);
        form.Handle();
        dock = new TDock97(&form, dpTop);
        dock->SetName("TopDock");
        dock->Handle();
        form.Show();
    }
    TTestToolWindow* Add(const char* name, int row, int pos, int length = 100) {
        auto* w = new TTestToolWindow(&form, name, length);
        w->DockRow = row;
        w->DockPos = pos;
        w->SetDockedTo(dock);
        return w;
    }
    // The application (de)activated through the message the system sends, its
    // state fixed so that other processes' activations on the desktop cannot interfere.
    void Activate(bool active) {
        FixApplicationActive(active);
        SendMessageA(form.Handle(), WM_ACTIVATEAPP, active, 0);
    }
    TFixedActivation activation;
    TForm form;
    TDock97* dock;
};

// Bounds of w in its parent's client area.
RECT InParent(TWinControl* w) {
    RECT r;
    GetWindowRect(w->Handle(), &r);
    MapWindowPoints(nullptr, GetParent(w->Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y))); }

void DrainMessages() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

}  // namespace

TEST(DockWindows, TwoWindowsAtDockPosZeroEndUpSideBySide) {
    DockForm f;
    TTestToolWindow* a = f.Add("tbA", 0, 0);
    TTestToolWindow* b = f.Add("tbB", 0, 0);
    EXPECT_EQ(GetParent(a->Handle()), f.dock->Handle());
    RECT ra = InParent(a), rb = InParent(b);
    EXPECT_EQ(ra.left, 0);
    EXPECT_EQ(rb.left, kDockedLength) << "the second one starts where the first one ends";
    EXPECT_EQ(ra.top, 0);
    EXPECT_EQ(rb.top, 0);
    EXPECT_EQ(ra.bottom - ra.top, kDockedThickness);
    EXPECT_EQ(b->DockPos, kDockedLength);
    EXPECT_EQ(f.dock->Height(), kDockedThickness + 4) << "the dock grows to its row";
}

TEST(DockWindows, BlankRowsCloseUp) {
    DockForm f;
    TTestToolWindow* a = f.Add("tbA", 0, 0);
    TTestToolWindow* b = f.Add("tbB", 2, 0);
    EXPECT_EQ(a->DockRow, 0);
    EXPECT_EQ(b->DockRow, 1);
    EXPECT_EQ(InParent(b).top, kDockedThickness + 4);
    EXPECT_EQ(f.dock->Height(), 2 * (kDockedThickness + 4));
}

TEST(DockWindows, OverflowIsPulledBackToTheDocksEdge) {
    DockForm f;
    const int length = 250, docked = length + 13;
    TTestToolWindow* a = f.Add("tbA", 0, 0, length);
    TTestToolWindow* b = f.Add("tbB", 0, 400, length);
    const int client = f.dock->ClientWidth();
    ASSERT_LT(400 + docked, client + docked) << "set-up: the second window runs past the edge";
    ASSERT_GT(400 + docked, client);
    EXPECT_EQ(InParent(b).right, client);
    EXPECT_EQ(InParent(a).left, 0);
    EXPECT_LE(InParent(a).right, InParent(b).left) << "no overlap";
}

TEST(DockWindows, AnEmptyDockIsZeroOrWithFixAlignOnePixelThick) {
    DockForm f;
    TTestToolWindow* a = f.Add("tbA", 0, 0);
    a->SetDockedTo(nullptr);
    EXPECT_EQ(f.dock->Height(), 0);
    f.dock->SetFixAlign(true);
    EXPECT_EQ(f.dock->Height(), 1);
}

TEST(DockWindows, BoundLinesTakeAPixelEachFromTheClientArea) {
    DockForm f;
    f.Add("tbA", 0, 0);
    f.dock->SetBoundLines(blTop | blBottom);
    EXPECT_EQ(f.dock->Height(), kDockedThickness + 4 + 2);
    EXPECT_EQ(f.dock->ClientHeight(), kDockedThickness + 4);
    RECT w, c;
    GetWindowRect(f.dock->Handle(), &w);
    POINT origin{0, 0};
    ClientToScreen(f.dock->Handle(), &origin);
    EXPECT_EQ(origin.y, w.top + 1);
    f.dock->SetBoundLines(0);
    GetClientRect(f.dock->Handle(), &c);
    EXPECT_EQ(c.bottom, kDockedThickness + 4);
    EXPECT_EQ(f.dock->Height(), kDockedThickness + 4);
}

TEST(DockWindows, PositionCannotChangeWhileTheDockHoldsWindows) {
    DockForm f;
    f.Add("tbA", 0, 0);
    try {
        f.dock->SetPosition(dpLeft);
        FAIL() << "no exception";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "Cannot change Position of a TDock97 if it already contains controls");
    }
}

TEST(DockWindows, AHiddenWindowLeavesTheRowsAndTheCloseBoxHides) {
    DockForm f;
    TTestToolWindow* a = f.Add("tbA", 0, 0);
    TTestToolWindow* b = f.Add("tbB", 0, 0);
    ASSERT_EQ(InParent(b).left, kDockedLength);
    a->Hide();
    EXPECT_EQ(f.dock->ToolWindowCount(), 1);
    EXPECT_EQ(InParent(b).left, kDockedLength) << "the others keep their positions";
    a->Show();
    EXPECT_EQ(f.dock->ToolWindowCount(), 2);
    EXPECT_EQ(InParent(a).left, 0);
    EXPECT_TRUE(IsWindowVisible(a->Handle()));

    b->SetDockedTo(nullptr);
    SendMessageA(b->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(b->Visible());
    EXPECT_FALSE(IsWindowVisible(b->Handle()));
    EXPECT_TRUE(IsWindow(f.form.Handle())) << "the form stays";
}

TEST(DockWindows, ADockCannotLieInAToolWindowOrADock) {
    DockForm f;
    TTestToolWindow* a = f.Add("tbA", 0, 0);
    EXPECT_THROW(new TDock97(a), EInvalidOperation);
    EXPECT_THROW(new TDock97(f.dock), EInvalidOperation);
}

TEST(DockWindows, AFreedDockLeavesItsWindowsWithoutADock) {
    DockForm f;
    TTestToolWindow* a = f.Add("tbA", 0, 0);
    delete f.dock;
    EXPECT_FALSE(a->Docked());
    EXPECT_EQ(a->LastDock(), nullptr) << "no double click into a freed dock";
    SendMessageA(a->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_FALSE(a->Docked());
    EXPECT_TRUE(GetWindowLongPtrA(a->Handle(), GWL_STYLE) & WS_POPUP) << "made again floating";
}

TEST(DockWindows, DoubleClickFloatsAndDocksBackFirstInRowZero) {
    DockForm f;
    TTestToolWindow* other = f.Add("tbOther", 0, 0);
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    ASSERT_EQ(InParent(w).left, kDockedLength);
    RECT before;
    GetWindowRect(w->Handle(), &before);

    SendMessageA(w->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(3, 3));
    EXPECT_FALSE(w->Docked());
    EXPECT_EQ(GetParent(w->Handle()), f.form.Handle()) << "a pop-up owned by the form";
    EXPECT_TRUE(GetWindowLongPtrA(w->Handle(), GWL_STYLE) & WS_POPUP);
    EXPECT_EQ(GetWindow(w->Handle(), GW_OWNER), f.form.Handle());
    EXPECT_EQ(f.dock->ToolWindowCount(), 1);
    EXPECT_EQ(w->FloatLeft, before.left);
    EXPECT_EQ(w->FloatTop, before.top);
    RECT floating;
    GetWindowRect(w->Handle(), &floating);
    SIZE size = w->FloatingSize();
    EXPECT_EQ(floating.right - floating.left, size.cx);

    // The caption is the window's own: a double click there comes as a client one.
    POINT onCaption{floating.left + 10, floating.top + 5};
    EXPECT_EQ(SendMessageA(w->Handle(), WM_NCHITTEST, 0, Point(onCaption.x, onCaption.y)), HTCLIENT);
    ScreenToClient(w->Handle(), &onCaption);
    SendMessageA(w->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(onCaption.x, onCaption.y));
    ASSERT_TRUE(w->Docked());
    EXPECT_EQ(w->DockedTo(), f.dock);
    EXPECT_EQ(GetParent(w->Handle()), f.dock->Handle());
    EXPECT_EQ(w->DockRow, 0);
    EXPECT_EQ(InParent(w).left, 0) << "back before every other window of the row";
    EXPECT_EQ(InParent(other).left, kDockedLength);
}

TEST(DockWindows, DraggingTheGripFloatsAndDraggingTheCaptionDocks) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    TRecordedOutline outline;
    TDragOutline* previous = SetDragOutline(&outline);

    // From the grip (client x < 0) down into the form, well away from the dock.
    PostMessageA(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(40, 200));
    PostMessageA(w->Handle(), WM_LBUTTONUP, 0, Point(40, 200));
    w->BeginMoving(-5, 5);
    EXPECT_FALSE(w->Docked());
    EXPECT_EQ(outline.Begun, 1);
    EXPECT_EQ(outline.Ended, 1);
    EXPECT_EQ(outline.LastThickness, GetSystemMetrics(SM_CXFRAME)) << "a floating outline is frame-thick";
    RECT r;
    GetWindowRect(w->Handle(), &r);
    EXPECT_EQ(r.left, outline.Last.left);
    EXPECT_EQ(r.top, outline.Last.top);
    EXPECT_EQ(f.dock->Height(), 0);

    // Back by the caption onto the (empty) dock.
    RECT dr;
    GetWindowRect(f.dock->Handle(), &dr);
    POINT over{dr.left + 200, dr.top};
    ScreenToClient(w->Handle(), &over);
    PostMessageA(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(over.x, over.y));
    PostMessageA(w->Handle(), WM_LBUTTONUP, 0, Point(over.x, over.y));
    w->BeginMoving(10, 5);
    ASSERT_TRUE(w->Docked());
    EXPECT_EQ(outline.LastThickness, 1) << "a dock outline is 1 pixel";
    EXPECT_EQ(w->DockRow, 0);
    EXPECT_GT(w->DockPos, 0) << "docked where it was let go";
    SetDragOutline(previous);
    DrainMessages();
}

// Let go beyond the edges of the work area, a floating window still shows
// enough of itself (its caption among it) to be taken again.
TEST(DockWindows, AFloatingWindowDraggedOffTheScreenStaysWithinReach) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    w->PlaceFloating(200, 200);
    ASSERT_FALSE(w->Docked());
    TRecordedOutline outline;
    TDragOutline* previous = SetDragOutline(&outline);
    RECT start;
    GetWindowRect(w->Handle(), &start);
    const RECT work = GetMonitorWorkArea(start);
    const int frame = w->FloatFrame(), caption = TCustomToolWindow97::CaptionHeight();
    struct Case {
        const char* name;
        POINT to;  // screen
    } cases[] = {
        {"just above the top", {300, work.top - 20}},
        {"far above", {300, work.top - 2000}},
        {"far off to the left and below", {work.left - 3000, work.bottom + 3000}},
        {"far off to the right", {work.right + 3000, 300}},
    };
    for (const Case& c : cases) {
        w->PlaceFloating(200, 200);
        POINT to = c.to;
        ScreenToClient(w->Handle(), &to);
        PostMessageA(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(to.x, to.y));
        PostMessageA(w->Handle(), WM_LBUTTONUP, 0, Point(to.x, to.y));
        w->BeginMoving(10, 5);
        RECT r;
        GetWindowRect(w->Handle(), &r);
        EXPECT_TRUE(EqualRect(&r, &outline.Last)) << c.name << ": the outline showed where it went";
        EXPECT_GE(r.top, work.top + 4 - frame - caption) << c.name << ": the caption stays on the work area";
        RECT inner = work, overlap;
        InflateRect(&inner, -(frame + 4), -(frame + 4));
        EXPECT_TRUE(IntersectRect(&overlap, &r, &inner)) << c.name << ": window at " << r.left << "," << r.top;
    }
    SetDragOutline(previous);
    DrainMessages();
}

TEST(DockWindows, EscapeOrARefusingDockKeepsTheWindowOut) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    TRecordedOutline outline;
    TDragOutline* previous = SetDragOutline(&outline);
    PostMessageA(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(40, 200));
    PostMessageA(w->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(w->Handle(), WM_LBUTTONUP, 0, Point(40, 200));
    w->BeginMoving(-5, 5);
    EXPECT_TRUE(w->Docked()) << "Esc ends the drag without a move";
    DrainMessages();

    int asked = 0;
    f.dock->OnRequestDock = [&](TObject*, TCustomToolWindow97* bar, bool& accept) {
        ++asked;
        EXPECT_EQ(bar, w);
        accept = false;
    };
    PostMessageA(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(200, 4));
    PostMessageA(w->Handle(), WM_LBUTTONUP, 0, Point(200, 4));
    w->BeginMoving(-5, 5);
    EXPECT_GE(asked, 1);
    EXPECT_FALSE(w->Docked()) << "a refusing dock lets the window float";
    SetDragOutline(previous);
}

TEST(DockWindows, CtrlHeldDuringTheDragForbidsDocking) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    TTestToolWindow* other = f.Add("tbOther", 0, 0);
    TRecordedOutline outline;
    TDragOutline* previous = SetDragOutline(&outline);
    // Over the dock, right of the other window: a place it would dock at.
    PostMessageA(w->Handle(), WM_KEYDOWN, VK_CONTROL, 0);
    PostMessageA(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON | MK_CONTROL, Point(300, 4));
    PostMessageA(w->Handle(), WM_LBUTTONUP, MK_CONTROL, Point(300, 4));
    w->BeginMoving(-5, 5);
    EXPECT_FALSE(w->Docked());
    EXPECT_TRUE(other->Docked());
    SetDragOutline(previous);
}

// What the default outline gets from the platform. Under Wine both the lock
// and the desktop DC work; pixels read back only where a display is (Xvfb):
// the null driver answers CLR_INVALID.
TEST(DockWindows, DesktopOutlineLocksAndDrawsOnTheDesktop) {
    TDesktopOutline o;
    o.Begin();
    EXPECT_TRUE(o.Locked()) << "LockWindowUpdate on the desktop";
    ASSERT_NE(o.DC(), nullptr) << "the desktop DC";
    // Two neighbours: the checker inverts one of them.
    auto sample = [&] { return std::make_pair(GetPixel(o.DC(), 20, 20), GetPixel(o.DC(), 21, 20)); };
    auto before = sample();
    o.Show({20, 20, 120, 120}, 4);
    auto during = sample();
    o.Show({40, 40, 140, 140}, 4);
    auto moved = sample();
    o.End();
    std::printf("desktop pixels before %08lx %08lx, outlined %08lx %08lx, after moving %08lx %08lx\n",
                before.first, before.second, during.first, during.second, moved.first, moved.second);
    if (before.first != CLR_INVALID) {
        EXPECT_NE(during, before) << "the outline shows";
        EXPECT_EQ(moved, before) << "moving the outline restores what it covered";
    }
    // The lock is released: another window can take it.
    EXPECT_TRUE(LockWindowUpdate(GetDesktopWindow()));
    LockWindowUpdate(nullptr);
}

TEST(DockWindows, TheFloatingFrameIsOurOwnHitTestTable) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    w->PlaceFloating(100, 120);
    RECT r;
    GetWindowRect(w->Handle(), &r);
    const int fr = w->FloatFrame(), ch = TCustomToolWindow97::CaptionHeight();
    const SIZE s = w->FloatingSize();
    EXPECT_EQ(r.right - r.left, s.cx);
    RECT client;
    GetClientRect(w->Handle(), &client);
    EXPECT_EQ(client.right, s.cx - 2 * fr) << "the frame on each side";
    EXPECT_EQ(client.bottom, s.cy - 2 * fr - ch) << "and the caption on top";
    const RECT box = w->CloseBoxRect();
    struct Case {
        const char* name;
        int x, y;
        LRESULT hit;
    } cases[] = {
        {"caption: the window drags itself", fr + 5, fr + 3, HTCLIENT},
        {"close box", (box.left + box.right) / 2, (box.top + box.bottom) / 2, HTCLOSE},
        {"client", r.right - r.left - fr - 5, r.bottom - r.top - fr - 3, HTCLIENT},
        {"left edge", 0, s.cy / 2, HTLEFT},
        {"right edge", s.cx - 1, s.cy / 2, HTRIGHT},
        {"bottom edge", s.cx / 2, s.cy - 1, HTBOTTOM},
        {"top edge", s.cx / 2, 0, HTTOP},
        {"top-left corner", 0, 0, HTTOPLEFT},
        {"left edge near the bottom", 0, s.cy - 2, HTBOTTOMLEFT},
        {"bottom near the right", s.cx - fr - 2, s.cy - 1, HTBOTTOMRIGHT},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SendMessageA(w->Handle(), WM_NCHITTEST, 0, Point(r.left + c.x, r.top + c.y)), c.hit) << c.name;
    w->SizableWhenFloating = false;
    EXPECT_EQ(SendMessageA(w->Handle(), WM_NCHITTEST, 0, Point(r.left, r.top + s.cy / 2)), HTBORDER) << "not sizable";
}

TEST(DockWindows, TheCloseBoxIsDrawnWithoutTheSymbolFontAndHidesOnRelease) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    w->PlaceFloating(100, 120);
    TBitmap shot;
    Snapshot(*w, shot, true);
    const int fr = w->FloatFrame();
    const RECT box = w->CloseBoxRect();
    // The caption in the caption colour (or its gradient's start), the box on the face with a dark cross.
    const uint32_t caption = SysRGB(COLOR_ACTIVECAPTION);
    EXPECT_EQ(shot.PixelRGB(fr + 2, fr + 1), caption);
    EXPECT_EQ(shot.PixelRGB(box.left + 2, box.top + 2), SysRGB(COLOR_BTNFACE));
    int ink = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) ink += shot.PixelRGB(x, y) == SysRGB(COLOR_BTNTEXT);
    EXPECT_GE(ink, 10) << "the cross";
    // The cross lies on both diagonals: the box's centre is inked.
    const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    bool centre = false;
    for (int d = -1; d <= 1; ++d) centre |= shot.PixelRGB(cx + d, cy) == SysRGB(COLOR_BTNTEXT);
    EXPECT_TRUE(centre);

    RECT r;
    GetWindowRect(w->Handle(), &r);
    int closed = 0;
    w->OnClose = [&](TObject*) { ++closed; };
    // Pressed on the box, dragged off and released there: nothing.
    POINT off{r.left - 50, r.top - 50};
    ScreenToClient(w->Handle(), &off);
    PostMessageA(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(off.x, off.y));
    PostMessageA(w->Handle(), WM_LBUTTONUP, 0, Point(off.x, off.y));
    SendMessageA(w->Handle(), WM_NCLBUTTONDOWN, HTCLOSE, Point(r.left + cx, r.top + cy));
    EXPECT_TRUE(IsWindowVisible(w->Handle()));
    EXPECT_EQ(closed, 0);
    // Released over the box: hidden, and the close notification.
    POINT on{r.left + cx, r.top + cy};
    ScreenToClient(w->Handle(), &on);
    PostMessageA(w->Handle(), WM_LBUTTONUP, 0, Point(on.x, on.y));
    SendMessageA(w->Handle(), WM_NCLBUTTONDOWN, HTCLOSE, Point(r.left + cx, r.top + cy));
    EXPECT_FALSE(IsWindowVisible(w->Handle()));
    EXPECT_FALSE(w->Visible());
    EXPECT_EQ(closed, 1);
}

TEST(DockWindows, SizingAFloatingWindowFollowsTheMouseWithinItsMinimum) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    TRecordedOutline outline;
    TDragOutline* previous = SetDragOutline(&outline);
    struct Case {
        const char* name;
        int hit, dx, dy;
        bool escape;
        int dLeft, dTop, dRight, dBottom;  // expected change of each edge; 999 = at the minimum
    } cases[] = {
        {"right edge 30 out", HTRIGHT, 30, 0, false, 0, 0, 30, 0},
        {"left edge 20 in", HTLEFT, 20, 0, false, 20, 0, 0, 0},
        {"bottom-right corner", HTBOTTOMRIGHT, 10, 15, false, 0, 0, 10, 15},
        {"top edge far down: the minimum", HTTOP, 0, 1000, false, 0, 999, 0, 0},
        {"Esc: no change", HTRIGHT, 40, 0, true, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        w->PlaceFloating(150, 150);
        RECT before;
        GetWindowRect(w->Handle(), &before);
        POINT start{c.hit == HTLEFT ? before.left : before.right - 1, c.hit == HTTOP ? before.top : before.bottom - 1};
        POINT to{start.x + c.dx, start.y + c.dy};
        ScreenToClient(w->Handle(), &to);
        PostMessageA(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(to.x, to.y));
        if (c.escape) PostMessageA(w->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(w->Handle(), WM_LBUTTONUP, 0, Point(to.x, to.y));
        SendMessageA(w->Handle(), WM_NCLBUTTONDOWN, c.hit, Point(start.x, start.y));
        DrainMessages();
        RECT after;
        GetWindowRect(w->Handle(), &after);
        EXPECT_EQ(after.left - before.left, c.dLeft) << c.name;
        EXPECT_EQ(after.right - before.right, c.dRight) << c.name;
        EXPECT_EQ(after.bottom - before.bottom, c.dBottom) << c.name;
        if (c.dTop == 999) {
            EXPECT_EQ(after.bottom - after.top, 2 * w->FloatFrame() + TCustomToolWindow97::CaptionHeight() + 1) << c.name;
        } else {
            EXPECT_EQ(after.top - before.top, c.dTop) << c.name;
        }
        EXPECT_EQ(outline.LastThickness, w->FloatFrame()) << c.name;
    }
    EXPECT_EQ(outline.Begun, 5);
    EXPECT_EQ(outline.Ended, 5);
    SetDragOutline(previous);
}

TEST(DockWindows, FloatingWindowsHideWithTheApplicationAndTheirForm) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    w->PlaceFloating(100, 120);
    ASSERT_TRUE(IsWindowVisible(w->Handle()));
    HWND form = f.form.Handle();
    struct Case {
        const char* name;
        std::function<void()> act;
        bool shown;
    } cases[] = {
        {"hides while inactive by default: goes", [&] { f.Activate(false); }, false},
        {"application active again: back", [&] { f.Activate(true); }, true},
        {"a stray deactivation while the state is fixed: stays", [&] { SendMessageA(form, WM_ACTIVATEAPP, FALSE, 0); }, true},
        {"told to stay: stays (inactive look)", [&] { w->HidesWhileInactive = false; f.Activate(false); }, true},
        {"form hidden: goes", [&] { ShowWindow(form, SW_HIDE); }, false},
        {"form shown: back", [&] { ShowWindow(form, SW_SHOWNA); }, true},
        {"form minimised: goes", [&] { ShowWindow(form, SW_SHOWMINNOACTIVE); }, false},
        {"form restored: back", [&] { ShowWindow(form, SW_SHOWNOACTIVATE); }, true},
    };
    for (const Case& c : cases) {
        c.act();
        DrainMessages();
        EXPECT_EQ(IsWindowVisible(w->Handle()) != FALSE, c.shown) << c.name;
        EXPECT_TRUE(w->Visible()) << c.name << ": the window still counts as visible";
    }
    // A docked window is the dock's business.
    w->HidesWhileInactive = true;
    w->SetDockedTo(f.dock);
    f.Activate(false);
    EXPECT_TRUE(IsWindowVisible(w->Handle()));
}

TEST(DockWindows, DocksOnAnotherRegisteredFormTakeTheWindow) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    TForm other;
    other.SetBounds(640, 0, 500, 300);
    auto* otherDock = new TDock97(&other, dpTop);
    otherDock->SetName("OtherTop");
    other.Show();
    w->PlaceFloating(300, 200);
    TRecordedOutline outline;
    TDragOutline* previous = SetDragOutline(&outline);
    auto dragOnto = [&](TDock97* dock) {
        w->PlaceFloating(300, 200);
        RECT dr;
        GetWindowRect(dock->Handle(), &dr);
        POINT over{dr.left + 100, dr.top};
        ScreenToClient(w->Handle(), &over);
        PostMessageA(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(over.x, over.y));
        PostMessageA(w->Handle(), WM_LBUTTONUP, 0, Point(over.x, over.y));
        w->BeginMoving(10, 5);
        DrainMessages();
    };
    dragOnto(otherDock);
    EXPECT_FALSE(w->Docked()) << "a form not registered with the window";
    w->AddDockForm(&other);
    dragOnto(otherDock);
    ASSERT_TRUE(w->Docked());
    EXPECT_EQ(w->DockedTo(), otherDock);
    EXPECT_EQ(GetParent(w->Handle()), otherDock->Handle());
    EXPECT_GT(otherDock->Height(), 0);
    // Back to its own form's dock.
    w->PlaceFloating(300, 200);
    dragOnto(f.dock);
    EXPECT_EQ(w->DockedTo(), f.dock);
    w->RemoveDockForm(&other);
    SetDragOutline(previous);
}

TEST(DockWindows, TheDockBackgroundTilesUnderTheDockAndItsWindows) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    // A 4 x 4 picture: red everywhere but a blue pixel at (1, 0) and a green lower-left one.
    TBitmap pic(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) pic.Canvas().SetPixel(x, y, clRed);
    pic.Canvas().SetPixel(1, 0, clBlue);
    pic.Canvas().SetPixel(0, 3, clGreen);
    f.dock->SetBackground(pic.Handle());
    // A pixel of the form's client area at (x, y) shows the picture's (x mod 4, y mod 4).
    auto at = [&](TWinControl& c, int fx, int fy) {
        TBitmap shot;
        Snapshot(c, shot);
        POINT p{fx, fy};
        MapWindowPoints(f.form.Handle(), c.Handle(), &p, 1);
        return shot.PixelRGB(p.x, p.y);
    };
    RECT dock;
    GetWindowRect(f.dock->Handle(), &dock);
    MapWindowPoints(nullptr, f.form.Handle(), reinterpret_cast<POINT*>(&dock), 2);
    RECT win;
    GetWindowRect(w->Handle(), &win);
    MapWindowPoints(nullptr, f.form.Handle(), reinterpret_cast<POINT*>(&win), 2);
    // A place of the dock beside the window, and one inside the window's client area.
    const int dx = (win.right + 9) & ~3, dy = dock.top + 4 - (dock.top % 4);
    const int wx = ((win.left + 20) & ~3), wy = ((win.top + 8) & ~3);
    struct Case {
        const char* name;
        TWinControl* c;
        int x, y;
        uint32_t rgb;
    } cases[] = {
        {"dock: the picture's blue pixel", f.dock, dx + 1, dy, 0x0000FF},
        {"dock: red", f.dock, dx + 2, dy + 1, 0xFF0000},
        {"dock: the lower-left green", f.dock, dx, dy + 3, 0x008000},
        {"window: lined up with the dock", w, wx + 1, wy, 0x0000FF},
        {"window: red", w, wx + 3, wy + 2, 0xFF0000},
    };
    for (const Case& c : cases) EXPECT_EQ(at(*c.c, c.x, c.y), c.rgb) << c.name;
    // Transparent: the lower-left colour becomes the dock's colour.
    f.dock->SetBackgroundTransparent(true);
    EXPECT_EQ(at(*f.dock, dx, dy + 3), SysRGB(COLOR_BTNFACE));
    EXPECT_EQ(at(*w, wx, wy + 3), SysRGB(COLOR_BTNFACE));
    // Not on the tool windows: the face there.
    f.dock->SetBackgroundOnToolbars(false);
    EXPECT_EQ(at(*w, wx + 1, wy), SysRGB(COLOR_BTNFACE));
    EXPECT_EQ(at(*f.dock, dx + 1, dy), 0x0000FFu);
}

TEST(DockWindows, AFloatingWindowLooksInactiveWhileTheApplicationIs) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    w->PlaceFloating(100, 120);
    const int fr = w->FloatFrame();
    auto captionRGB = [&] {
        TBitmap shot;
        Snapshot(*w, shot, true);
        return shot.PixelRGB(fr + 2, fr + 1);
    };
    struct Case {
        const char* name;
        bool hides, active;
        bool look;
        int colour;
    } cases[] = {
        {"active", false, true, false, COLOR_ACTIVECAPTION},
        {"inactive, stays: the inactive caption", false, false, true, COLOR_INACTIVECAPTION},
        {"active again", false, true, false, COLOR_ACTIVECAPTION},
        {"inactive, hides: hidden, no inactive look", true, false, false, -1},
    };
    for (const Case& c : cases) {
        w->HidesWhileInactive = c.hides;
        f.Activate(c.active);
        DrainMessages();
        EXPECT_EQ(w->InactiveLook, c.look) << c.name;
        if (c.colour >= 0) {
            EXPECT_EQ(captionRGB(), SysRGB(c.colour)) << c.name;
        }
    }
    // Docked, the caption is gone and so is the look.
    w->HidesWhileInactive = false;
    f.Activate(false);
    EXPECT_TRUE(w->InactiveLook);
    w->SetDockedTo(f.dock);
    f.Activate(false);
    EXPECT_FALSE(w->InactiveLook);
}

namespace {

// Drags the frame of a floating w at hit from its edge by (dx, dy) and lets go.
void SizeBy(TCustomToolWindow97* w, int hit, int dx, int dy) {
    RECT before;
    GetWindowRect(w->Handle(), &before);
    const bool left = hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
    const bool top = hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
    POINT start{left ? before.left : before.right - 1, top ? before.top : before.bottom - 1};
    POINT to{start.x + dx, start.y + dy};
    ScreenToClient(w->Handle(), &to);
    PostMessageA(w->Handle(), WM_MOUSEMOVE, MK_LBUTTON, Point(to.x, to.y));
    PostMessageA(w->Handle(), WM_LBUTTONUP, 0, Point(to.x, to.y));
    SendMessageA(w->Handle(), WM_NCLBUTTONDOWN, hit, Point(start.x, start.y));
    DrainMessages();
}

std::string ClipText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

}  // namespace

TEST(DockWindows, SizingKeepsTheWindowsOwnMinimumAndItsAdjustment) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    TRecordedOutline outline;
    TDragOutline* previous = SetDragOutline(&outline);
    w->MinClient = {60, 40};
    const int fr = w->FloatFrame(), ch = TCustomToolWindow97::CaptionHeight();
    struct Case {
        const char* name;
        int hit, dx, dy;
        bool snap;  // the hook rounds the width down to tens
        int width, height;  // expected; 0 = unchanged
    } cases[] = {
        {"left edge far right: the minimum width", HTLEFT, 1000, 0, false, 2 * fr + 60, 0},
        {"right edge far left: the minimum width", HTRIGHT, -1000, 0, false, 2 * fr + 60, 0},
        {"top edge far down: the minimum height", HTTOP, 0, 1000, false, 0, 2 * fr + ch + 40},
        {"corner far up-left: both minimums", HTBOTTOMRIGHT, -1000, -1000, false, 2 * fr + 60, 2 * fr + ch + 40},
        {"right edge 33 out, snapped", HTRIGHT, 33, 0, true, -1, 0},
    };
    for (const Case& c : cases) {
        w->PlaceFloating(150, 150);
        RECT before;
        GetWindowRect(w->Handle(), &before);
        int adjusted = 0, hitSeen = 0;
        w->Adjust = [&](int hit, RECT& r) {
            ++adjusted;
            hitSeen = hit;
            EXPECT_GE(r.right - r.left, 2 * fr + 60) << c.name << ": the minimum comes first";
            if (c.snap) r.right = r.left + (r.right - r.left) / 10 * 10;
        };
        SizeBy(w, c.hit, c.dx, c.dy);
        RECT after;
        GetWindowRect(w->Handle(), &after);
        const int width = c.width == 0 ? before.right - before.left
                          : c.width < 0 ? (before.right - before.left + c.dx) / 10 * 10 : c.width;
        const int height = c.height == 0 ? before.bottom - before.top : c.height;
        EXPECT_EQ(after.right - after.left, width) << c.name;
        EXPECT_EQ(after.bottom - after.top, height) << c.name;
        EXPECT_GT(adjusted, 0) << c.name;
        EXPECT_EQ(hitSeen, c.hit) << c.name;
        EXPECT_EQ(outline.Last.right - outline.Last.left, width) << c.name << ": the outline shows the adjusted rectangle";
    }
    w->Adjust = nullptr;
    SetDragOutline(previous);
}

TEST(DockWindows, SizingConfinesTheCursorToTheWorkAreaAndRestoresItsClip) {
    if (GetSystemMetrics(SM_CMONITORS) > 1) GTEST_SKIP() << "confined on a single monitor only";
    // The clip is the desktop's, and Wine resets it whenever any process changes
    // the foreground: a run that saw a stranger's clip is repeated (a fault
    // shows on every run).
    qftest::RetryWhileDisturbed([] {
        RECT work;
        ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
        DockForm f;
        TTestToolWindow* w = f.Add("tbTest", 0, 0);
        TRecordedOutline outline;
        TDragOutline* previous = SetDragOutline(&outline);
        // A clip of the caller's own, smaller than the work area, to tell them apart.
        const RECT own{10, 10, 300, 300};
        for (bool confine : {true, false}) {
            w->PlaceFloating(150, 150);
            w->ConfinesCursorWhileSizing = confine;
            ClipCursor(&own);
            RECT during{};
            w->Adjust = [&](int, RECT&) { GetClipCursor(&during); };
            SizeBy(w, HTRIGHT, 20, 0);
            const RECT& expected = confine ? work : own;
            EXPECT_TRUE(EqualRect(&during, &expected)) << "confine " << confine << ": during " << ClipText(during);
            RECT after{};
            GetClipCursor(&after);
            EXPECT_TRUE(EqualRect(&after, &own)) << "confine " << confine << ": the caller's clip is back, not "
                                                 << ClipText(after);
        }
        // Esc ends the loop on another path: the clip is back there too, and
        // the window hears of both ends of each drag.
        w->ConfinesCursorWhileSizing = true;
        w->Adjust = nullptr;
        PostMessageA(w->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
        RECT r;
        GetWindowRect(w->Handle(), &r);
        SendMessageA(w->Handle(), WM_NCLBUTTONDOWN, HTRIGHT, Point(r.right - 1, r.bottom - 1));
        RECT after{};
        GetClipCursor(&after);
        EXPECT_TRUE(EqualRect(&after, &own)) << ClipText(after);
        const std::vector<std::string> sizing{"begin 11", "end 1", "begin 11", "end 1", "begin 11", "end 0"};
        EXPECT_EQ(w->Sizing, sizing);
        ClipCursor(nullptr);
        SetDragOutline(previous);
    }, [] { return true; });
}

namespace {

// The 4 x 4 test picture: red but a blue pixel at (1, 0) and a green lower-left one.
uint32_t PictureAt(int x, int y) {
    x = ((x % 4) + 4) % 4;
    y = ((y % 4) + 4) % 4;
    return x == 1 && y == 0 ? 0x0000FF : x == 0 && y == 3 ? 0x008000 : 0xFF0000;
}

void SetTestPicture(TDock97* dock) {
    TBitmap pic(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) pic.Canvas().SetPixel(x, y, clRed);
    pic.Canvas().SetPixel(1, 0, clBlue);
    pic.Canvas().SetPixel(0, 3, clGreen);
    dock->SetBackground(pic.Handle());
}

int QueuedFrameRedraws(HWND h) {
    int n = 0;
    MSG m;
    const UINT id = TCustomToolWindow97::RedrawDockedFrameMessage;
    while (PeekMessageA(&m, h, id, id, PM_REMOVE)) ++n;
    return n;
}

}  // namespace

TEST(DockWindows, AMovedDockedWindowRedrawsItsBackgroundFrameOnce) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    DrainMessages();
    // Without a background a move leaves the plain frame alone.
    w->SetDockPos(30);
    EXPECT_EQ(QueuedFrameRedraws(w->Handle()), 0);
    SetTestPicture(f.dock);
    DrainMessages();
    w->SetDockPos(50);
    w->SetDockPos(81);
    EXPECT_EQ(QueuedFrameRedraws(w->Handle()), 1) << "two moves, one redraw";
    // The frame shows the picture lined up with the form's client area.
    TBitmap shot;
    Snapshot(*w, shot, true);
    POINT origin{0, 0};
    RECT wr;
    GetWindowRect(w->Handle(), &wr);
    origin = {wr.left, wr.top};
    ScreenToClient(f.form.Handle(), &origin);
    const int h = wr.bottom - wr.top, width = wr.right - wr.left;
    const POINT frame[] = {{1, h / 2}, {5, 1}, {width - 2, h / 2}, {width / 2, h - 2}, {2, 2}};
    for (POINT p : frame) EXPECT_EQ(shot.PixelRGB(p.x, p.y), PictureAt(origin.x + p.x, origin.y + p.y)) << p.x << "," << p.y;
    // Not on the tool windows: no redraws are scheduled and the frame is the face.
    f.dock->SetBackgroundOnToolbars(false);
    DrainMessages();
    w->SetDockPos(90);
    EXPECT_EQ(QueuedFrameRedraws(w->Handle()), 0);
    Snapshot(*w, shot, true);
    EXPECT_EQ(shot.PixelRGB(1, h / 2), SysRGB(COLOR_BTNFACE));
}

// A new colour schedules one frame redraw, however many come at once.
TEST(DockWindows, ColourChangesScheduleOneFrameRedraw) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    DrainMessages();
    w->SetColor(clRed);
    w->SetColor(clBlue);
    EXPECT_EQ(QueuedFrameRedraws(w->Handle()), 1);
}

TEST(DockWindows, PaletteQueriesAreAnsweredWithTheDocksBackgroundPalette) {
    DockForm f;
    TTestToolWindow* w = f.Add("tbTest", 0, 0);
    EXPECT_EQ(w->Palette(), nullptr);
    EXPECT_EQ(SendMessageA(w->Handle(), WM_QUERYNEWPALETTE, 0, 0), FALSE) << "no background";
    // A 4-colour paletted picture.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colours[4];
    } bi{};
    bi.h.biSize = sizeof bi.h;
    bi.h.biWidth = 4;
    bi.h.biHeight = 4;
    bi.h.biPlanes = 1;
    bi.h.biBitCount = 8;
    bi.h.biClrUsed = 4;
    const RGBQUAD colours[4] = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {10, 20, 30, 0}};
    std::copy(std::begin(colours), std::end(colours), bi.colours);
    void* bits = nullptr;
    HBITMAP pic = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(pic, nullptr);
    f.dock->SetBackground(pic);
    DeleteObject(pic);
    HPALETTE palette = w->Palette();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette, f.dock->BackgroundPalette()) << "the dock's own";
    PALETTEENTRY entries[8]{};
    // (The dock's copy of the picture may carry a full 256-entry table.)
    ASSERT_GE(GetPaletteEntries(palette, 0, 8, entries), 4u);
    EXPECT_EQ(entries[0].peRed, 255);
    EXPECT_EQ(entries[3].peRed, 30);
    EXPECT_EQ(entries[3].peBlue, 10);
    EXPECT_EQ(SendMessageA(w->Handle(), WM_QUERYNEWPALETTE, 0, 0), TRUE);
    EXPECT_EQ(SendMessageA(w->Handle(), WM_PALETTECHANGED, reinterpret_cast<WPARAM>(f.form.Handle()), 0), 0);
    f.dock->SetBackgroundOnToolbars(false);
    EXPECT_EQ(w->Palette(), nullptr);
    EXPECT_EQ(SendMessageA(w->Handle(), WM_QUERYNEWPALETTE, 0, 0), FALSE);
    f.dock->SetBackgroundOnToolbars(true);
    // A true-colour picture has none.
    SetTestPicture(f.dock);
    EXPECT_EQ(f.dock->BackgroundPalette(), nullptr);
    f.dock->SetBackground(nullptr);
    EXPECT_EQ(w->Palette(), nullptr);
}
