// Rows, positions and thicknesses of a dock's tool windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "components/core/DockLayout.h"

namespace {

class FakeBar : public TDockedBar {
public:
    FakeBar(std::string name, int row, int pos, int width, int height = 20, int base = 22)
        : Name(std::move(name)), Width(width), Height(height), Base(base) {
        DockRow = row;
        DockPos = pos;
    }
    int RowExtent(bool Vertical) const override { return Vertical ? Height : Width; }
    int DockedBaseSize(int) const override { return Base; }
    void SetDockedBounds(const TBarBounds& b) override {
        Bounds = b;
        ++Placed;
    }

    std::string Name;
    int Width, Height, Base;
    TBarBounds Bounds;
    int Placed = 0;
};

struct BarIn {
    const char* Name;
    int Row, Pos, Width;
    bool FillsRow = false;
    int Base = 22;
};
struct BarOut {
    int Row, Pos;
    TBarBounds Bounds;
};
struct ArrangeCase {
    const char* Name;
    TDockPosition Position;
    int ClientLength;
    std::vector<BarIn> In;
    std::vector<BarOut> Out;  // in the order of In
    int Thickness;
};

std::string Show(const TBarBounds& b) {
    return "(" + std::to_string(b.Left) + "," + std::to_string(b.Top) + "," + std::to_string(b.Width) + "," +
           std::to_string(b.Height) + ")";
}

}  // namespace

TEST(DockLayout, ArrangeTable) {
    const ArrangeCase cases[] = {
        {"two windows at DockPos 0 end up side by side in list order", dpTop, 500,
         {{"a", 0, 0, 100}, {"b", 0, 0, 60}},
         {{0, 0, {0, 0, 100, 22}}, {0, 100, {100, 0, 60, 22}}}, 26},
        {"blank rows close up: rows 0 and 2 become 0 and 1", dpTop, 500,
         {{"a", 0, 0, 100}, {"b", 2, 0, 60}},
         {{0, 0, {0, 0, 100, 22}}, {1, 0, {0, 26, 60, 22}}}, 52},
        {"several blank rows in a row close up too", dpTop, 500,
         {{"a", 3, 0, 100}, {"b", 7, 10, 60}, {"c", 4, 0, 10}},
         {{0, 0, {0, 0, 100, 22}}, {2, 10, {10, 52, 60, 22}}, {1, 0, {0, 26, 10, 22}}}, 78},
        {"overflow is pulled back to end at the edge", dpTop, 220,
         {{"a", 0, 0, 50}, {"b", 0, 200, 50}},
         {{0, 0, {0, 0, 50, 22}}, {0, 170, {170, 0, 50, 22}}}, 26},
        {"a row too long for the dock goes no further back than 0 and does not overlap", dpTop, 120,
         {{"a", 0, 0, 100}, {"b", 0, 30, 100}},
         {{0, 0, {0, 0, 100, 22}}, {0, 100, {100, 0, 100, 22}}}, 26},
        {"a row thickness is its thickest window, at least 8", dpTop, 500,
         {{"a", 0, 0, 10, false, 3}, {"b", 1, 0, 10, false, 30}, {"c", 1, 50, 10, false, 12}},
         {{0, 0, {0, 0, 10, 8}}, {1, 0, {0, 12, 10, 30}}, {1, 50, {50, 12, 10, 30}}}, 46},
        {"a window filling its row gets the row to itself", dpTop, 300,
         {{"a", 0, 0, 50}, {"f", 0, 80, 40, true}, {"c", 1, 0, 30}},
         {{1, 0, {0, 26, 50, 22}}, {0, 0, {0, 0, 300, 22}}, {2, 0, {0, 52, 30, 22}}}, 78},
        {"a vertical dock lays rows across x", dpLeft, 400,
         {{"a", 0, 0, 100}, {"b", 0, 0, 60}},
         {{0, 0, {0, 0, 22, 20}}, {0, 20, {0, 20, 22, 20}}}, 26},
        {"stored rows and positions far out of range are kept in bounds", dpTop, 500,
         {{"a", -5, -2000000000, 10}, {"b", 2000000000, 2000000000, 10}},
         {{0, 0, {0, 0, 10, 22}}, {1, 490, {490, 26, 10, 22}}}, 52},
    };
    for (const ArrangeCase& c : cases) {
        TDockLayout dock(c.Position);
        dock.ClientLength = c.ClientLength;
        std::vector<std::unique_ptr<FakeBar>> bars;
        for (const BarIn& in : c.In) {
            bars.push_back(std::make_unique<FakeBar>(in.Name, in.Row, in.Pos, in.Width, 20, in.Base));
            bars.back()->FillsRow = in.FillsRow;
            dock.DockList.push_back(bars.back().get());
        }
        ASSERT_TRUE(dock.ArrangeToolbars()) << c.Name;
        for (size_t i = 0; i < bars.size(); ++i) {
            const FakeBar& b = *bars[i];
            EXPECT_EQ(b.DockRow, c.Out[i].Row) << c.Name << ": row of " << b.Name;
            EXPECT_EQ(b.DockPos, c.Out[i].Pos) << c.Name << ": position of " << b.Name;
            EXPECT_EQ(Show(b.Bounds), Show(c.Out[i].Bounds)) << c.Name << ": bounds of " << b.Name;
        }
        EXPECT_EQ(dock.Thickness(), c.Thickness) << c.Name;
    }
}

TEST(DockLayout, EmptyDockThickness) {
    struct Case { const char* Name; bool FixAlign, Designing; int Thickness; };
    const Case cases[] = {
        {"plain", false, false, 0},
        {"FixAlign keeps 1 pixel", true, false, 1},
        {"designed", false, true, 9},
    };
    for (const Case& c : cases) {
        TDockLayout dock(dpBottom);
        dock.FixAlign = c.FixAlign;
        dock.Designing = c.Designing;
        dock.ArrangeToolbars();
        EXPECT_EQ(dock.Thickness(), c.Thickness) << c.Name;
        EXPECT_TRUE(dock.RowSizes().empty()) << c.Name;
    }
}

TEST(DockLayout, ResizedBoundsKeepTheAlignedEdge) {
    struct Case { TDockPosition Position; TBarBounds Expected; };
    // A window of base 22 gives 26; 2 pixels of frame make 28.
    const Case cases[] = {
        {dpTop, {10, 20, 300, 28}},
        {dpLeft, {10, 20, 28, 200}},
        {dpBottom, {10, 192, 300, 28}},
        {dpRight, {282, 20, 28, 200}},
    };
    for (const Case& c : cases) {
        TDockLayout dock(c.Position);
        dock.ClientLength = 300;
        FakeBar a("a", 0, 0, 50);
        dock.DockList.push_back(&a);
        dock.ArrangeToolbars();
        TBarBounds current{10, 20, 300, 200};
        EXPECT_EQ(Show(dock.ResizedBounds(current, 2)), Show(c.Expected)) << "position " << c.Position;
    }
    TDockLayout fixed(dpTop);
    fixed.FixAlign = true;
    fixed.ArrangeToolbars();
    EXPECT_EQ(fixed.ResizedBounds({0, 0, 300, 40}, 0).Height, 1);
    EXPECT_EQ(GetDockKind(&fixed), 1);
    EXPECT_EQ(GetDockKind(nullptr), 0);
    EXPECT_EQ(TDockLayout(dpRight).GetDockKind(), 2);
}

TEST(DockLayout, LimitToOneRowPutsEveryWindowInRow0) {
    TDockLayout dock;
    dock.ClientLength = 500;
    dock.LimitToOneRow = true;
    FakeBar a("a", 0, 0, 50), b("b", 3, 0, 50);
    dock.DockList = {&a, &b};
    dock.ArrangeToolbars();
    EXPECT_EQ(b.DockRow, 0);
    EXPECT_EQ(b.DockPos, 50);
    EXPECT_EQ(dock.RowSizes().size(), 1u);
}

TEST(DockLayout, UpdatesPutArrangingOffUntilTheLastEnds) {
    TDockLayout dock;
    dock.ClientLength = 500;
    FakeBar a("a", 0, 0, 50);
    dock.BeginUpdate();
    dock.BeginUpdate();
    EXPECT_TRUE(dock.InsertRemoveBar(&a, true, true));
    EXPECT_EQ(a.Placed, 0);
    EXPECT_TRUE(dock.ArrangeNeeded());
    dock.EndUpdate();
    EXPECT_EQ(a.Placed, 0);
    dock.EndUpdate();
    EXPECT_EQ(a.Placed, 1);
    EXPECT_FALSE(dock.ArrangeNeeded());
    dock.Loading = true;
    EXPECT_FALSE(dock.ArrangeToolbars());
}

TEST(DockLayout, InsertRemoveBar) {
    TDockLayout dock;
    dock.ClientLength = 500;
    FakeBar a("a", 0, 0, 50), b("b", 0, 0, 50);
    EXPECT_FALSE(dock.InsertRemoveBar(&a, true, false));  // not forced, not designed
    EXPECT_TRUE(dock.InsertRemoveBar(&a, true, true));
    EXPECT_TRUE(dock.InsertRemoveBar(&b, true, true));
    EXPECT_TRUE(dock.InsertRemoveBar(&a, true, true));  // taken out and appended: still once
    ASSERT_EQ(dock.DockList.size(), 2u);
    EXPECT_EQ(std::count(dock.DockList.begin(), dock.DockList.end(), &a), 1);
    EXPECT_TRUE(dock.InsertRemoveBar(&b, false, false));
    EXPECT_FALSE(dock.InsertRemoveBar(&b, false, false));
    EXPECT_EQ(dock.DockList.size(), 1u);
    EXPECT_EQ(dock.HighestRow(), 0);
    dock.DockList.clear();
    EXPECT_EQ(dock.HighestRow(), -1);
}

TEST(DockLayout, RowsUnderACoordinate) {
    // Rows of 22 and 30 pixels: row 0 spans 0..26, row 1 starts at 26.
    TDockLayout dock;
    dock.ClientLength = 500;
    FakeBar a("a", 0, 0, 50, 20, 22), b("b", 1, 0, 50, 20, 30);
    dock.DockList = {&a, &b};
    dock.ArrangeToolbars();
    struct Case { int At; int Row; bool NewRow; int Containing; };
    const Case cases[] = {
        {0, 0, true, 0}, {5, 0, true, 0}, {6, 0, false, 0}, {21, 0, false, 0}, {22, 1, true, 0},
        {25, 1, true, 0}, {26, 1, true, 1}, {31, 1, true, 1}, {32, 1, false, 1}, {1000, 1, false, 1},
    };
    for (const Case& c : cases) {
        int row = -1;
        bool newRow = false;
        dock.RowAt(c.At, row, newRow);
        EXPECT_EQ(row, c.Row) << "RowAt " << c.At;
        EXPECT_EQ(newRow, c.NewRow) << "RowAt " << c.At;
        EXPECT_EQ(dock.RowContaining(c.At), c.Containing) << "RowContaining " << c.At;
    }
    EXPECT_EQ(dock.CountInRow(1, nullptr), 1);
    EXPECT_EQ(dock.CountInRow(1, &b), 0);
    dock.ShiftRowsFrom(1);
    EXPECT_EQ(a.DockRow, 0);
    EXPECT_EQ(b.DockRow, 2);
}

TEST(DockLayout, DropRowTable) {
    // Two rows of 22 pixels: row 0 from 0 to 26, row 1 from 26.
    struct Case {
        const char* name;
        int coordinate;
        bool fills;
        int row;
        std::vector<int> rowsAfter;  // of a and b
    } cases[] = {
        {"on row 0's leading edge: a new row before it", 2, false, 0, {1, 2}},
        {"inside row 0", 12, false, 0, {0, 1}},
        {"inside row 1", 38, false, 1, {0, 1}},
        {"past the last row: still the last row", 60, false, 1, {0, 1}},
        {"filling window into occupied row 0: a row after it", 12, true, 1, {0, 2}},
        {"filling window before row 0: its own new row", 2, true, 0, {1, 2}},
    };
    for (const Case& c : cases) {
        TDockLayout dock;
        dock.Position = dpTop;
        dock.ClientLength = 400;
        FakeBar a("a", 0, 0, 100), b("b", 1, 0, 100), dropped("dropped", 0, 0, 50);
        dropped.FillsRow = c.fills;
        dock.DockList = {&a, &b};
        dock.ArrangeToolbars();
        EXPECT_EQ(DropRow(dock, &dropped, c.coordinate), c.row) << c.name;
        EXPECT_EQ(a.DockRow, c.rowsAfter[0]) << c.name;
        EXPECT_EQ(b.DockRow, c.rowsAfter[1]) << c.name;
    }
}

TEST(DockLayout, DragToleranceFollowsTheGrabPoint) {
    const TBarBounds dock{100, 50, 400, 26};
    struct Case {
        const char* name;
        int grabX, grabY, width, height;
        TBarBounds zone;
    } cases[] = {
        {"grabbed at the left and top: the window hangs right and down", 0, 0, 101, 21, {68, 30, 432, 46}},
        {"grabbed at the right and bottom", 100, 20, 101, 21, {100, 50, 432, 46}},
        {"grabbed in the middle", 50, 10, 101, 21, {84, 40, 432, 46}},
        {"a one-pixel window: halves", 0, 0, 1, 1, {84, 40, 432, 46}},
        {"a grab outside the window counts as its edge", 500, -3, 101, 21, {100, 30, 432, 46}},
    };
    for (const Case& c : cases) EXPECT_EQ(DragTolerance(dock, c.grabX, c.grabY, c.width, c.height), c.zone) << c.name;
}

// A work area of 1000 x 700 below a 30-pixel taskbar; frame 4, caption 16:
// the window must overlap (8, 38)-(992, 722) and its top stay at 14 or below.
TEST(DockLayout, AFloatingWindowIsKeptWithinReach) {
    const TBarBounds work{0, 30, 1000, 700};
    struct Case {
        const char* name;
        TBarBounds in, out;
    } cases[] = {
        {"well inside stays", {100, 100, 200, 80}, {100, 100, 200, 80}},
        {"off the left: its right edge one pixel into the inset", {-500, 100, 200, 80}, {-191, 100, 200, 80}},
        {"off the right: its left edge one pixel before the inset's end", {1500, 100, 200, 80}, {991, 100, 200, 80}},
        {"below the bottom", {100, 900, 200, 80}, {100, 721, 200, 80}},
        {"above the top: the caption's lower part stays on the area", {100, -300, 200, 80}, {100, 14, 200, 80}},
        {"partly above the top: moved down as well", {100, 5, 200, 80}, {100, 14, 200, 80}},
        {"far off a corner", {-5000, -5000, 200, 80}, {-191, 14, 200, 80}},
    };
    for (const Case& c : cases) EXPECT_EQ(KeepFloatingReachable(c.in, work, 4, 16), c.out) << c.name;
}

TEST(DockLayout, APointIsClampedOntoTheArea) {
    const TBarBounds work{-1920, 0, 1920, 1050};
    struct Case {
        const char* name;
        int x, y, cx, cy;
    } cases[] = {
        {"inside", -100, 500, -100, 500},
        {"right of it", 300, 500, -1, 500},
        {"above and left", -3000, -50, -1920, 0},
        {"below", -10, 2000, -10, 1049},
    };
    for (const Case& c : cases) {
        int x = c.x, y = c.y;
        ClampToArea(x, y, work);
        EXPECT_EQ(x, c.cx) << c.name;
        EXPECT_EQ(y, c.cy) << c.name;
    }
}
