#include "components/core/FormPosition.h"

#include <gtest/gtest.h>

TEST(FormPosition, StoredNumbers) {
    struct Case {
        const char* name;
        const char* text;
        int expected;
    } cases[] = {
        {"decimal", "120", 120}, {"hex", "0x64", 100}, {"hex upper", "0X1F", 31},
        {"negative", "-8", -8},  {"empty", "", 7},     {"bare 0x", "0x", 7},
        {"text", "abc", 7},      {"trailing junk", "12a", 7}, {"too big", "99999999999", 7},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseStoredInt(c.text, 7), c.expected) << c.name;
}

TEST(FormPosition, ClampTable) {
    struct Case {
        const char* name;
        TPosRect in, out;
    } cases[] = {
        {"inside stays", {100, 100, 300, 200}, {100, 100, 300, 200}},
        {"minimised marker", {-32000, -32000, 160, 24}, {0, 0, 160, 24}},
        {"past the right", {700, 10, 300, 200}, {500, 10, 300, 200}},
        {"larger than the area", {0, 0, 2000, 1000}, {0, 0, 800, 570}},
    };
    for (const Case& c : cases) {
        const TPosRect r = ClampToWorkArea(c.in, 0, 0, 800, 570);
        EXPECT_EQ(r.Left, c.out.Left) << c.name;
        EXPECT_EQ(r.Top, c.out.Top) << c.name;
        EXPECT_EQ(r.Width, c.out.Width) << c.name;
        EXPECT_EQ(r.Height, c.out.Height) << c.name;
    }
}

namespace {
// A primary monitor of 1280 x 1024 with a 40-pixel taskbar at the top, a
// second one of 1920 x 1080 to its left with a 30-pixel taskbar at its left,
// and a third of 800 x 600 above the primary with no taskbar.
const std::vector<TMonitorArea> kMonitors = {
    {{0, 0, 1280, 1024}, {0, 40, 1280, 984}},
    {{-1920, 0, 1920, 1080}, {-1890, 0, 1890, 1080}},
    {{0, -600, 800, 600}, {0, -600, 800, 600}},
};
}  // namespace

TEST(FormPosition, NearestMonitorTable) {
    struct Case {
        const char* name;
        TPosRect r;
        int monitor;
    } cases[] = {
        {"inside the primary", {100, 100, 400, 300}, 0},
        {"inside the left one", {-1500, 200, 400, 300}, 1},
        {"mostly on the left one", {-300, 100, 400, 300}, 1},
        {"mostly on the primary", {-100, 100, 400, 300}, 0},
        {"equal overlap: the earlier (primary)", {-200, 100, 400, 300}, 0},
        {"above the primary: the top one", {100, -300, 400, 200}, 2},
        {"off to the right: nearest is the primary", {3000, 100, 400, 300}, 0},
        {"far left: the left one", {-5000, 500, 400, 300}, 1},
        {"minimised marker: nearest by distance", {-32000, -32000, 160, 24}, 1},
    };
    for (const Case& c : cases) EXPECT_EQ(NearestMonitor(c.r, kMonitors), c.monitor) << c.name;
    EXPECT_EQ(NearestMonitor({0, 0, 10, 10}, {}), -1);
}

TEST(FormPosition, PlacedOnTheWorkAreaOfItsMonitor) {
    struct Case {
        const char* name;
        TPosRect in, out;
    } cases[] = {
        {"on the left monitor stays there, full size", {-1700, 100, 1500, 900}, {-1700, 100, 1500, 900}},
        {"under the left taskbar: moved right of it", {-1910, 100, 600, 400}, {-1890, 100, 600, 400}},
        {"under the top taskbar: moved below it", {100, 10, 600, 400}, {100, 40, 600, 400}},
        {"larger than the primary: shrunk to its work area", {10, 50, 2000, 1500}, {0, 40, 1280, 984}},
        {"off the right edge: back on the primary", {3000, 100, 400, 300}, {880, 100, 400, 300}},
        {"on the top monitor keeps its place", {100, -500, 400, 300}, {100, -500, 400, 300}},
    };
    for (const Case& c : cases) {
        const TPosRect r = PlaceOnNearestMonitor(c.in, kMonitors);
        EXPECT_EQ(r.Left, c.out.Left) << c.name;
        EXPECT_EQ(r.Top, c.out.Top) << c.name;
        EXPECT_EQ(r.Width, c.out.Width) << c.name;
        EXPECT_EQ(r.Height, c.out.Height) << c.name;
    }
}

// A saved normal rectangle must come back where it was: saved in workspace
// coordinates and applied as screen ones, a form crept down (or right) by the
// taskbar at every start.
TEST(FormPosition, WorkspaceRectanglesBecomeScreenOnesWithoutCreep) {
    struct Case {
        const char* name;
        TPosRect workspace, screen;
    } cases[] = {
        {"primary, taskbar at the top", {100, 60, 400, 300}, {100, 100, 400, 300}},
        {"left monitor, taskbar at its left", {-1800, 100, 400, 300}, {-1770, 100, 400, 300}},
        {"no taskbar", {100, -500, 400, 300}, {100, -500, 400, 300}},
    };
    for (const Case& c : cases) {
        TPosRect r = WorkspaceToScreen(c.workspace, kMonitors);
        EXPECT_EQ(r.Left, c.screen.Left) << c.name;
        EXPECT_EQ(r.Top, c.screen.Top) << c.name;
        EXPECT_EQ(r.Width, c.screen.Width) << c.name;
        // Saved in screen coordinates and placed again, it stays put, start after start.
        for (int start = 0; start < 3; ++start) r = PlaceOnNearestMonitor(r, kMonitors);
        EXPECT_EQ(r.Left, c.screen.Left) << c.name << ": no creep";
        EXPECT_EQ(r.Top, c.screen.Top) << c.name << ": no creep";
    }
}
