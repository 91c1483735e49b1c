#include <gtest/gtest.h>

#include <set>

#include "searchwindow/core/ToolbarButtons.h"

namespace {
// The buttons of a toolbar as "key|tip" in their order, separators as "-".
std::vector<std::string> KeysAndTips(const std::vector<ToolbarButtonSpec>& buttons) {
    std::vector<std::string> out;
    for (const ToolbarButtonSpec& b : buttons)
        out.push_back(b.Style == ToolbarButtonSpec::Separator ? "-" : std::string(b.Key) + "|" + b.Hint);
    return out;
}
}  // namespace

TEST(ToolbarButtons, KeysAndToolTipsInTheirPositions) {
    EXPECT_EQ(KeysAndTips(MainToolbarButtons()),
              (std::vector<std::string>{"New|New search (Ctrl+N)", "Open|Open search... (Ctrl+O)",
                                        "Save|Save search (Ctrl+S)", "View|View", "Sort|Sort list"}));
    // Positions count from 1 with the separators: New 1, Open 2, Cut 5,
    // Paste 7 follow the run, 9 to 11 the mask list's view.
    EXPECT_EQ(KeysAndTips(PropertyToolbarButtons()),
              (std::vector<std::string>{"New|New keyword (property template)...", "Open|Open property template...",
                                        "Save|Save property template...", "-", "Cut|Cut (Ctrl+X)",
                                        "Copy|Copy (Ctrl+C)", "Paste|Paste (Ctrl+V)", "-",
                                        "Large Icons|View large icons", "Small Icons|View small icons",
                                        "List|View list", "-", "Filter|Filter..."}));
    EXPECT_EQ(KeysAndTips(BrowserToolbarButtons()),
              (std::vector<std::string>{"Back|Back", "Forward|Forward", "-", "Stop|Stop", "Refresh|Refresh",
                                        "Home|Home", "-", "Large icons|Large icons", "Small icons|Small icons",
                                        "List|List", "-", "Report mask|Report property values...",
                                        "Report Unique|Report unique values..."}));
    const char* tabs[5][3] = {{"General", "General", "General search options"},
                              {"Content", "Content", "Document content"},
                              {"Results", "Properties", "Found results"},
                              {"Options", "Options", "Search options"},
                              {"Help", "Help", "Help topics"}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_STREQ(kPanelTabs[i].Caption, tabs[i][0]);
        EXPECT_STREQ(kPanelTabs[i].Key, tabs[i][1]);
        EXPECT_STREQ(kPanelTabs[i].Hint, tabs[i][2]);
    }
}

TEST(ToolbarButtons, DropDownArrowsAndViewPictures) {
    std::vector<bool> arrows;
    for (const ToolbarButtonSpec& b : MainToolbarButtons()) arrows.push_back(b.Style == ToolbarButtonSpec::DropDown);
    EXPECT_EQ(arrows, (std::vector<bool>{false, true, true, true, true}));
    EXPECT_EQ(ViewModeGlyph(0), SbfGlyph::ViewLarge);
    EXPECT_EQ(ViewModeGlyph(1), SbfGlyph::ViewSmall);
    EXPECT_EQ(ViewModeGlyph(2), SbfGlyph::ViewList);
}

TEST(ToolbarButtons, BrowserClickByPanelAndHomeAddress) {
    struct Row {
        int16_t panel;
        const char* key;
        const char* home;
        BrowserAction want;
    } rows[] = {
        {2, "Back", "http://a/", BrowserAction::Back},
        {2, "Forward", "http://a/", BrowserAction::Forward},
        {2, "Stop", "http://a/", BrowserAction::Stop},
        {2, "Refresh", "http://a/", BrowserAction::Refresh},
        {5, "Home", "file://h/index.html", BrowserAction::Home},
        // Nothing opened on the panel yet: the browser commands do nothing.
        {2, "Back", "", BrowserAction::None},
        {3, "Home", "", BrowserAction::None},
        // No browser on the General and Options panels.
        {1, "Back", "http://a/", BrowserAction::None},
        {4, "Home", "http://a/", BrowserAction::None},
        // The view and report buttons act on the Results panel only, page or not.
        {3, "Large icons", "", BrowserAction::PropertyViewLarge},
        {3, "Small icons", "", BrowserAction::PropertyViewSmall},
        {3, "List", "", BrowserAction::PropertyViewList},
        {3, "Report mask", "", BrowserAction::ReportValues},
        {3, "Report Unique", "", BrowserAction::ReportUnique},
        {2, "Report mask", "http://a/", BrowserAction::None},
        {3, "Large Icons", "", BrowserAction::None},
    };
    for (const Row& r : rows) EXPECT_EQ(BrowserButtonAction(r.panel, r.key, r.home), r.want) << r.panel << " " << r.key;
}

TEST(ToolbarArt, EveryPictureIsDrawnAndDiffers) {
    std::set<std::vector<uint32_t>> seen;
    for (int i = 0; i < static_cast<int>(SbfGlyph::Count); ++i) {
        const GlyphPixels g = DrawGlyph(static_cast<SbfGlyph>(i));
        ASSERT_EQ(g.Pixels.size(), static_cast<size_t>(kGlyphSize * kGlyphSize)) << i;
        int drawn = 0;
        for (uint32_t p : g.Pixels) drawn += p != kGlyphTransparent;
        EXPECT_GT(drawn, 25) << "picture " << i;
        EXPECT_LT(drawn, kGlyphSize * kGlyphSize) << "picture " << i << " has a see-through part";
        EXPECT_TRUE(seen.insert(g.Pixels).second) << "picture " << i << " repeats another";
    }
}
