// Dock bars and tool windows as real windows: rows and positions in the
// dock, docking, floating and the double click back, visibility, the frame
// and the dock's background.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <utility>

#include "ComponentTestSupport.h"
#include "DockTestSupport.h"
#include "TestSupport.h"
#include "TestToolWindow.h"
#include "components/DragOutline.h"

using namespace docktest;

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
