// Tool windows under the mouse: dragging by the grip and the caption into
// docks and out, within reach of the work area, the close box and sizing a
// floating window.
#include <gtest/gtest.h>

#include <string>

#include "ComponentTestSupport.h"
#include "DockTestSupport.h"
#include "TestSupport.h"
#include "components/DragOutline.h"

using namespace docktest;

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
