#include <gtest/gtest.h>

#include "searchwindow/core/PaneLayout.h"
#include "searchwindow/core/SplitBar.h"

namespace {
// A window laid out as the form designs it (twips).
WindowPanes DesignPanes() {
    WindowPanes p;
    p.tbMainToolbar = {0, 0, 6000, 420};
    p.StartButton = {0, 480, 1000, 330};
    p.btnStartMerge = {0, 480, 800, 330};
    p.OpenFileButton = {0, 480, 400, 330};
    p.StartAddressCombo = {0, 480, 3000, 315};
    p.MainStatusBar = {0, 0, 12000, 300};
    p.pbProgress = {200, 0, 1500, 240};
    p.StatusPanel1Left = 0;
    p.StatusPanel1Width = 3000;
    p.TabStrip = {0, 0, 5000, 360};
    p.VSplitBar1 = {4000, 900, 80, 0};
    p.FoundList = {60, 0, 3950, 0};
    p.wbPromotion = {60, 0, 3950, 1200};
    p.frmTbBrowser = {0, 0, 5000, 400};
    p.frmToolbarFrame = {0, 0, 5000, 400};
    p.ContentWebBrowser = {0, 1300, 0, 0};
    p.HelpWebBrowser = {0, 1300, 0, 0};
    p.MaskList = {0, 1300, 0, 0};
    p.ShowPropertiesList = {0, 1300, 0, 1500};
    p.HSplitBar1 = {0, 2800, 0, 80};
    p.PropertyContentList = {0, 2885, 0, 1000};
    p.HContentSplitBar = {0, 4000, 0, 80};
    p.PropertyContentBrowser = {0, 4085, 0, 1000};
    p.frmOptions = {0, 1300, 0, 0};
    p.lblPanelTitle = {0, 900, 0, 300};
    p.LastMainButtonRight = 2500;
    return p;
}
}  // namespace

TEST(PaneLayout, ResizeSetsTopsAndHeightsFromTheOuterSize) {
    WindowPanes p = DesignPanes();
    ResizePanes(p, 12000, 9000);
    EXPECT_FLOAT_EQ(p.pbProgress.Top, 9000 - 240 - 730);
    EXPECT_FLOAT_EQ(p.TabStrip.Top, 9000 - 300 - 360 - 700);  // 7640
    EXPECT_FLOAT_EQ(p.StartButton.Left, 12000 - 1000 - 100 - 70);
    EXPECT_FLOAT_EQ(p.btnStartMerge.Left, p.StartButton.Left - 800 - 5);
    EXPECT_FLOAT_EQ(p.OpenFileButton.Left, p.btnStartMerge.Left - 400 - 5);
    EXPECT_FLOAT_EQ(p.VSplitBar1.Height, 9000 - 300 - 900 - 700);
    EXPECT_FLOAT_EQ(p.FoundList.Top, 425);
    EXPECT_FLOAT_EQ(p.FoundList.Height, 9000 - 300 - 1200 - 425 - 700);
    EXPECT_FLOAT_EQ(p.frmTbBrowser.Top, 7640 - 400 + 50);
    EXPECT_FLOAT_EQ(p.ContentWebBrowser.Height, 7290 - 1300 - 5);
    EXPECT_FLOAT_EQ(p.MaskList.Height, 7290 - 1300 - 5 + 20);
    EXPECT_FLOAT_EQ(p.PropertyContentList.Height, 4000 - 2880 - 5);
    EXPECT_FLOAT_EQ(p.PropertyContentBrowser.Height, 7290 - 4000 - 70);
    EXPECT_FLOAT_EQ(p.frmOptions.Height, 7640 - 1300 - 5 - 20);
    EXPECT_FLOAT_EQ(p.tbMainToolbar.Width, 12000);
}

TEST(PaneLayout, TinyWindowGivesZeroHeightsNeverNegative) {
    WindowPanes p = DesignPanes();
    p.HContentSplitBar.Visible = false;  // the property list then reaches to the tab strip
    ResizePanes(p, 500, 400);
    for (auto [name, h] : {std::pair<const char*, float>{"VSplitBar1", p.VSplitBar1.Height},
                           {"FoundList", p.FoundList.Height},
                           {"ContentWebBrowser", p.ContentWebBrowser.Height},
                           {"HelpWebBrowser", p.HelpWebBrowser.Height},
                           {"MaskList", p.MaskList.Height},
                           {"PropertyContentList", p.PropertyContentList.Height},
                           {"PropertyContentBrowser", p.PropertyContentBrowser.Height},
                           {"frmOptions", p.frmOptions.Height}})
        EXPECT_EQ(h, 0) << name;
    // Narrower than the toolbar: it never shrinks.
    EXPECT_FLOAT_EQ(p.tbMainToolbar.Width, 6000);
}

TEST(PaneLayout, HiddenToolbarAndPromotionChangeTheFoundList) {
    WindowPanes p = DesignPanes();
    p.tbMainToolbar.Visible = false;
    p.wbPromotion.Visible = false;
    ResizePanes(p, 12000, 9000);
    EXPECT_FLOAT_EQ(p.FoundList.Top, 120);
    EXPECT_FLOAT_EQ(p.FoundList.Height, 9000 - 300 - 120 - 700);
}

TEST(PaneLayout, ArrangePanesSeventeenSteps) {
    WindowPanes p = DesignPanes();
    p.OpenFileButton.Left = 9000;
    ArrangePanes(p, 12000);
    const float L = 4000, V = 80, W = 12000;
    struct Row {
        const char* name;
        const PaneBox& box;
        float left, width;
    } rows[] = {
        {"pbProgress", p.pbProgress, 200, 3000 - 200 - 50},
        {"FoundList", p.FoundList, 60, L - 60 + 10},
        {"wbPromotion", p.wbPromotion, 60, L - 60 + 10},
        {"lblPanelTitle", p.lblPanelTitle, L + V + 10, W},
        {"StartAddressCombo", p.StartAddressCombo, L + V + 10, 9000 - (L + V + 10) - 5},
        {"ContentWebBrowser", p.ContentWebBrowser, L + V + 10, W - (L + V + 10) - 100},
        {"frmOptions", p.frmOptions, L + V + 10, W - (L + V + 10) - 100 - 20},
        {"HelpWebBrowser", p.HelpWebBrowser, L + V + 10, W - (L + V + 10) - 100},
        {"TabStrip", p.TabStrip, L + V, W - (L + V) - 100},
        {"MaskList", p.MaskList, L + V, W - (L + V) - 100},
        {"ShowPropertiesList", p.ShowPropertiesList, L + V, W - (L + V) - 100},
        {"PropertyContentList", p.PropertyContentList, L + V, W - (L + V) - 100},
        {"HSplitBar1", p.HSplitBar1, L + V, W - (L + V) - 100},
        {"PropertyContentBrowser", p.PropertyContentBrowser, L + V + 10, W - (L + V + 10) - 100},
        {"frmToolbarFrame", p.frmToolbarFrame, L + V + 20, W - (L + V + 20) - 100},
        {"frmTbBrowser", p.frmTbBrowser, L + V + 20, W - (L + V + 20) - 100},
        {"HContentSplitBar", p.HContentSplitBar, L + V, W - (L + V) - 100},
    };
    for (const Row& r : rows) {
        EXPECT_FLOAT_EQ(r.box.Left, r.left) << r.name;
        EXPECT_FLOAT_EQ(r.box.Width, r.width) << r.name;
    }
}

TEST(PaneLayout, NarrowWindowKeepsPreviousWidths) {
    WindowPanes p = DesignPanes();
    p.MaskList.Width = 777;
    p.OpenFileButton.Left = 100;  // left of the combo: its width would be negative
    p.StartAddressCombo.Width = 555;
    ArrangePanes(p, 4100);        // W - Left - 100 <= 0
    EXPECT_FLOAT_EQ(p.MaskList.Width, 777);
    EXPECT_FLOAT_EQ(p.StartAddressCombo.Width, 555);
    EXPECT_FLOAT_EQ(p.MaskList.Left, 4080);
}

TEST(PaneLayout, SplitterDragBounds) {
    struct Row {
        const char* name;
        int bar;  // 0 HSplitBar1, 1 HContentSplitBar, 2 VSplitBar1
        bool contentVisible;
        float d;
        bool moves;
    } rows[] = {
        // HSplitBar1 at 2800; lower bound: StartButton bottom 810 + 100 (strict).
        {"up within", 0, true, -1000, true},
        {"up to the bound exactly", 0, true, 910 - 2800, false},
        {"up past the bound", 0, true, -2500, false},
        // Upper limit with the content bar shown: 4000 - 100; 2800 + d + 80 + 5 < 3900.
        {"down within", 0, true, 1000, true},
        {"down to the limit exactly", 0, true, 1015, false},
        // Without the content bar the limit is the tab strip (7640 after resize).
        {"down far, no content bar", 0, false, 4000, true},
        // HContentSplitBar at 4000; lower bound HSplitBar1 bottom 2880 + 100.
        {"content up within", 1, true, -1000, true},
        {"content to the bound exactly", 1, true, 2980 - 4000, false},
        // Upper: 4000 + d + 80 + 5 + 100 < frmTbBrowser top 7290.
        {"content down within", 1, true, 3000, true},
        {"content down to the limit exactly", 1, true, 3105, false},
        // VSplitBar1 at 4000, width 80: left > 2510 and right < OpenFileButton.Left.
        {"vsplit left within", 2, true, -1000, true},
        {"vsplit onto the toolbar limit", 2, true, -1490, false},
        {"vsplit right edge onto OpenFileButton", 2, true, 0, true},
    };
    for (const Row& r : rows) {
        WindowPanes p = DesignPanes();
        p.HContentSplitBar.Visible = r.contentVisible;
        p.PropertyContentBrowser.Visible = r.contentVisible;
        ResizePanes(p, 12000, 9000);
        const WindowPanes before = p;
        bool moved = false;
        if (r.bar == 0) moved = MoveHSplitBar1(p, r.d);
        if (r.bar == 1) moved = MoveHContentSplitBar(p, r.d);
        if (r.bar == 2) moved = MoveVSplitBar1(p, r.d, 12000);
        EXPECT_EQ(moved, r.moves) << r.name;
        const PaneBox& bar = r.bar == 0 ? p.HSplitBar1 : r.bar == 1 ? p.HContentSplitBar : p.VSplitBar1;
        const PaneBox& was = r.bar == 0 ? before.HSplitBar1 : r.bar == 1 ? before.HContentSplitBar : before.VSplitBar1;
        if (r.moves) {
            EXPECT_FLOAT_EQ((r.bar == 2 ? bar.Left - was.Left : bar.Top - was.Top), r.d) << r.name;
        } else {
            EXPECT_FLOAT_EQ(bar.Top, was.Top) << r.name;
            EXPECT_FLOAT_EQ(bar.Left, was.Left) << r.name;
        }
    }
    // The right edge exactly on OpenFileButton.Left is refused.
    WindowPanes p = DesignPanes();
    ResizePanes(p, 12000, 9000);
    const float d = p.OpenFileButton.Left - p.VSplitBar1.Left - p.VSplitBar1.Width;
    EXPECT_FALSE(MoveVSplitBar1(p, d, 12000));
    EXPECT_TRUE(MoveVSplitBar1(p, d - 1, 12000));
}

TEST(PaneLayout, SplitterMovesThePanesAroundIt) {
    WindowPanes p = DesignPanes();
    ResizePanes(p, 12000, 9000);
    ASSERT_TRUE(MoveHSplitBar1(p, 200));
    EXPECT_FLOAT_EQ(p.ShowPropertiesList.Height, 3000 - 1300);
    EXPECT_FLOAT_EQ(p.PropertyContentList.Top, 3085);
    EXPECT_FLOAT_EQ(p.PropertyContentList.Height, 4000 - 3085 - 5);
    ASSERT_TRUE(MoveHContentSplitBar(p, 0));
    EXPECT_FLOAT_EQ(p.PropertyContentBrowser.Top, 4085);
    // Measured to the tab strip here, not to the browser toolbar.
    EXPECT_FLOAT_EQ(p.PropertyContentBrowser.Height, p.TabStrip.Top - 4085 - 5);
}

TEST(SplitBarDrag, EventsOfADrag) {
    SplitBarDrag bar;
    EXPECT_FALSE(bar.MouseMove(10)) << "a move without a button down raises nothing";
    bar.MouseDown(40);
    EXPECT_EQ(bar.MouseMove(55).value(), 15);
    EXPECT_EQ(bar.MouseUp(30).value(), -10);
    EXPECT_EQ(bar.CurrentState(), SplitBarDrag::State::Idle);
    EXPECT_FALSE(bar.CaptureLost()) << "the release's own capture change finds the bar idle";
    bar.MouseDown(5);
    EXPECT_EQ(bar.MouseUp(5).value(), 0) << "a click raises ControlMove(0)";
}

TEST(SplitBarDrag, LosingTheCaptureEndsTheDrag) {
    SplitBarDrag bar;
    bar.MouseDown(40);
    ASSERT_TRUE(bar.MouseMove(60));
    EXPECT_EQ(bar.CaptureLost().value(), 0);
    EXPECT_EQ(bar.CurrentState(), SplitBarDrag::State::Idle);
    EXPECT_FALSE(bar.MouseMove(100)) << "no longer follows the pointer";
    EXPECT_FALSE(bar.MouseUp(100));
}

// HSplitBar1 dragged down while a list-only template showed, then a browser
// template picked: the content splitter comes below HSplitBar1 again and
// the list and the browser get room between them.
TEST(PaneLayout, ContentSplitterIsPlacedBelowTheDraggedSplitter) {
    struct Row {
        const char* name;
        float hsplitDrag;
        float contentTop;
    } rows[] = {
        {"dragged past the content splitter", 2500, 4000},
        {"content splitter never placed", 0, 0},
        {"already in place", 0, 4000},
    };
    for (const Row& r : rows) {
        WindowPanes p = DesignPanes();
        p.HContentSplitBar.Top = r.contentTop;
        p.HContentSplitBar.Visible = p.PropertyContentBrowser.Visible = false;
        ResizePanes(p, 9000, 9000);
        if (r.hsplitDrag != 0) {
            ASSERT_TRUE(MoveHSplitBar1(p, r.hsplitDrag)) << r.name;
        }
        PlaceHContentSplitBar(p);
        EXPECT_TRUE(p.HContentSplitBar.Visible) << r.name;
        EXPECT_GE(p.HContentSplitBar.Top, p.HSplitBar1.Bottom() + 5) << r.name;
        EXPECT_LE(p.HContentSplitBar.Bottom(), p.TabStrip.Top) << r.name;
        EXPECT_GT(p.PropertyContentList.Height, 0) << r.name;
        EXPECT_LE(p.PropertyContentList.Bottom(), p.HContentSplitBar.Top) << r.name;
        EXPECT_GE(p.PropertyContentBrowser.Top, p.HContentSplitBar.Bottom()) << r.name;
        EXPECT_GT(p.PropertyContentBrowser.Height, 0) << r.name;
        if (r.contentTop == 4000 && r.hsplitDrag == 0) EXPECT_EQ(p.HContentSplitBar.Top, 4000) << r.name;
    }
}
