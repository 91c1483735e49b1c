#include <gtest/gtest.h>

#include <optional>

#include "searchwindow/core/PanelSwitcher.h"
#include "searchwindow/core/RunStateControls.h"
#include "searchwindow/core/Spinners.h"
#include "searchwindow/core/StartAddress.h"
#include "searchwindow/core/ToolbarCommands.h"

TEST(ToolbarCommands, KeysOfBothToolbars) {
    struct Row {
        const char* toolbar;
        const char* key;
        WindowCommand command;
    } rows[] = {
        {"main", "New", WindowCommand::NewSearch},
        {"main", "Open", WindowCommand::OpenSearch},
        {"main", "Save", WindowCommand::SaveSearch},
        {"main", "View", WindowCommand::RebuildFoundList},
        {"main", "Sort", WindowCommand::RebuildFoundList},
        {"main", "new", WindowCommand::None},
        {"menu", "Large icons", WindowCommand::FoundViewLarge},
        {"menu", "Small icons", WindowCommand::FoundViewSmall},
        {"menu", "List", WindowCommand::FoundViewList},
        {"menu", "Filter", WindowCommand::EditFilter},
        {"menu", "Save as", WindowCommand::SaveSearchAs},
        {"menu", "Merge", WindowCommand::MergeSearch},
        {"menu", "Large Icons", WindowCommand::None},
        {"menu", "Separator", WindowCommand::None},
        {"template", "New", WindowCommand::NewMask},
        {"template", "Open", WindowCommand::OpenMask},
        {"template", "Save", WindowCommand::SaveMaskAs},
        {"template", "Cut", WindowCommand::CutMasks},
        {"template", "Copy", WindowCommand::CopyMasks},
        {"template", "Paste", WindowCommand::PasteMasks},
        {"template", "Large Icons", WindowCommand::MaskViewLarge},
        {"template", "Small Icons", WindowCommand::MaskViewSmall},
        {"template", "List", WindowCommand::MaskViewList},
        {"template", "Filter", WindowCommand::EditFilter},
        {"template", "Large icons", WindowCommand::None},
    };
    for (const Row& r : rows) {
        const std::string t = r.toolbar;
        const WindowCommand got = t == "main" ? MainButtonCommand(r.key)
                                  : t == "menu" ? MainMenuCommand(r.key)
                                                : PropertyButtonCommand(r.key);
        EXPECT_EQ(got, r.command) << r.toolbar << " " << r.key;
    }
    for (WindowCommand c : {WindowCommand::NewMask, WindowCommand::OpenMask, WindowCommand::CutMasks,
                            WindowCommand::PasteMasks})
        EXPECT_TRUE(RefusedWhileRunning(c));
    for (WindowCommand c : {WindowCommand::CopyMasks, WindowCommand::SaveMaskAs, WindowCommand::EditFilter})
        EXPECT_FALSE(RefusedWhileRunning(c));
}

TEST(ToolbarCommands, TagsOfTheRunTimeEntries) {
    struct Row {
        int32_t tag;
        TagAction::Kind kind;
        int32_t value;
    } rows[] = {
        {-1, TagAction::Nothing, 0}, {0, TagAction::SortAt, 0},      {1, TagAction::SortAt, 1},
        {10, TagAction::SortAt, 10}, {11, TagAction::CaptionMask, 1}, {20, TagAction::CaptionMask, 10},
        {21, TagAction::Nothing, 0},
    };
    for (const Row& r : rows) {
        const TagAction a = MenuTagAction(r.tag, 10);
        EXPECT_EQ(a.kind, r.kind) << "tag " << r.tag;
        EXPECT_EQ(a.Value, r.value) << "tag " << r.tag;
    }
}

TEST(PanelSwitcher, SwitchingTable) {
    PanelSwitcher s;
    s.Select(1);
    EXPECT_EQ(s.Title(), " Keywords and property templates");
    EXPECT_TRUE(s.IsVisible("MaskList"));
    struct Row {
        int16_t tab;
        const char* title;
        const char* shown;
        const char* hidden;
    } rows[] = {
        {3, " Found properties", "tbBrowser12", "MaskList"},
        {2, " Document content", "frmTbBrowser", "tbBrowser8"},
        {4, " Options", "frmOptions", "frmTbBrowser"},
        {5, " Help", "HelpWebBrowser", "frmOptions"},
        {1, " Keywords and property templates", "tbPropertyToolBar", "HelpWebBrowser"},
        {0, " Keywords and property templates", "MaskList", "frmOptions"},  // nothing happens
        {6, " Keywords and property templates", "MaskList", "frmOptions"},
    };
    for (const Row& r : rows) {
        s.Select(r.tab);
        EXPECT_EQ(s.Title(), r.title) << "tab " << r.tab;
        EXPECT_TRUE(s.IsVisible(r.shown)) << "tab " << r.tab << " " << r.shown;
        EXPECT_FALSE(s.IsVisible(r.hidden)) << "tab " << r.tab << " " << r.hidden;
        int checked = 0;
        for (int16_t m = 1; m <= 5; ++m) checked += s.MenuChecked(m);
        EXPECT_EQ(checked, 1) << "tab " << r.tab;
    }
    EXPECT_EQ(PanelTitle(0), "");
    EXPECT_TRUE(PanelControls(6).empty());
}

TEST(Spinners, StepTable) {
    struct Row {
        Spinner which;
        int32_t from;
        bool up;
        int32_t value;
        const char* text;
    } rows[] = {
        {Spinner::ChannelCount, 6, true, 7, "7"},
        {Spinner::ChannelCount, 1, false, 1, "1"},
        {Spinner::ChannelCount, kMaxChannelCount, true, kMaxChannelCount, "64"},
        {Spinner::MaxFound, -1, false, -1, "Not test"},
        {Spinner::MaxFound, -1, true, 0, "0"},
        {Spinner::MaxFound, 0, false, -1, "Not test"},
        {Spinner::MaxLevel, 5, false, 4, "4"},
        {Spinner::ReadBlock, 511, true, 512, "512"},
        {Spinner::ReadBlock, 511, false, 510, "510"},
        {Spinner::ReadBlock, 1, false, 1, "1"},
        {Spinner::ReadBlock, 2147483647, true, 2147483647, "2147483647"},
    };
    for (const Row& r : rows) {
        const SpinStep s = Spin(r.which, r.from, r.up, "Not test");
        EXPECT_EQ(s.Value, r.value) << static_cast<int>(r.which) << " from " << r.from;
        EXPECT_EQ(s.Text, r.text) << static_cast<int>(r.which) << " from " << r.from;
    }
}

TEST(Spinners, TypedSettings) {
    EXPECT_EQ(ParseSetting(Spinner::MaxFound, "-1"), -1);
    EXPECT_EQ(ParseSetting(Spinner::MaxFound, "250"), 250);
    EXPECT_FALSE(ParseSetting(Spinner::MaxFound, "-2"));
    EXPECT_FALSE(ParseSetting(Spinner::MaxFound, ""));
    EXPECT_FALSE(ParseSetting(Spinner::MaxFound, "12a"));
    EXPECT_FALSE(ParseSetting(Spinner::ReadBlock, "0"));
    EXPECT_FALSE(ParseSetting(Spinner::ReadBlock, "99999999999"));
    EXPECT_EQ(ParseSetting(Spinner::ChannelCount, "64"), 64);
    EXPECT_FALSE(ParseSetting(Spinner::ChannelCount, "65")) << "each channel is a thread";
    EXPECT_EQ(SettingText(Spinner::MaxLevel, -1, "Not test"), "Not test");
}

TEST(Spinners, TypedTextConvertsAsALong) {
    const std::pair<const char*, std::optional<int32_t>> rows[] = {
        {"12", 12},   {" 12\t", 12}, {"-3", -3},  {"+4", 4},          {"007", 7},     {"2.5", 2},
        {"3.5", 4},   {"2.51", 3},    {"-2.5", -2}, {"0.4", 0},        {"", std::nullopt}, {"  ", std::nullopt},
        {"-", std::nullopt}, {"1 2", std::nullopt}, {"12a", std::nullopt}, {".", std::nullopt},
        {"2147483647", 2147483647}, {"2147483648", std::nullopt}, {"99999999999", std::nullopt},
    };
    for (const auto& [text, want] : rows) EXPECT_EQ(ConvertSettingText(text), want) << "\"" << text << "\"";
}

TEST(Traffic, TotalIs64Bit) {
    TrafficCounter t;
    for (int i = 0; i < 3; ++i) t.Tick(1000000000);
    EXPECT_EQ(t.Total(), 3000000000LL);
    EXPECT_EQ(t.TotalLine(), "Total load :  3000000000  bytes");
    EXPECT_EQ(t.TrafficLine(), "Traffic :  1000000000  bytes/sec");
    t.Reset();
    t.Tick(0);
    EXPECT_EQ(t.TrafficLine(), "Traffic :  0  bytes/sec");
}

TEST(StartAddress, NormaliserTable) {
    struct Row {
        const char* in;
        const char* out;
    } rows[] = {
        {"www.example.org", "http://www.example.org"},
        {"HTTP://A.B/", "HTTP://A.B/"},
        {"Mailto:x@y", "Mailto:x@y"},
        {"file://c:/x.htm", "file://c:/x.htm"},
        {"ftp://h/", "ftp://h/"},
        {"gopher://h/", "gopher://h/"},
        {" http://a/", "http:// http://a/"},
        {"ftp", "http://ftp"},
        {"c:\\site\\index.htm", "http://c:\\site\\index.htm"},
    };
    for (const Row& r : rows) {
        std::string a = r.in;
        NormalizeAddress(a);
        EXPECT_EQ(a, r.out) << "\"" << r.in << "\"";
    }
}

TEST(StartAddress, StopCaptionCycle) {
    std::string shown = "   Stop   ";
    std::vector<std::string> seen;
    int16_t frame = 0;
    for (int tick = 0; tick < 8; ++tick) {
        if (const char* c = StopFrameCaption(frame)) shown = c;
        seen.push_back(shown);
        frame = NextStopFrame(frame);
    }
    const std::vector<std::string> want = {"-  Stop  -", "\\  Stop  \\", "|  Stop  |", "/  Stop  /",
                                           "-  Stop  -", "   Stop   ", "   Stop   ", "-  Stop  -"};
    EXPECT_EQ(seen, want);
}

TEST(RunStateControls, ControlTable) {
    struct Row {
        SearchRunState state;
        const char* caption;
        bool start, merge, maskEdit, protocols, channels, formatTable, suspend;
        const char* suspendCaption;
        const char* suspendTip;
    } rows[] = {
        {SearchRunState::Idle, "   Start   ", true, true, true, true, true, true, false, "Suspend", "Suspend process"},
        {SearchRunState::Running, "   Stop   ", true, false, false, false, false, false, true, "Suspend",
         "Suspend process"},
        {SearchRunState::Suspended, "   Stop   ", true, false, false, false, false, false, true, "Resume",
         "Resume process"},
        {SearchRunState::Stopping, "   Stop   ", false, false, false, false, false, false, false, "Suspend",
         "Suspend process"},
    };
    for (const Row& r : rows) {
        const RunControls c = ControlsFor(r.state);
        const int s = static_cast<int>(r.state);
        EXPECT_EQ(c.StartCaption, r.caption) << s;
        EXPECT_EQ(c.StartEnabled, r.start) << s;
        EXPECT_EQ(c.MergeEnabled, r.merge) << s;
        EXPECT_EQ(c.MaskNewOpenCutPaste, r.maskEdit) << s;
        EXPECT_EQ(c.ProtocolBoxes, r.protocols) << s;
        EXPECT_EQ(c.ChannelCount, r.channels) << s;
        EXPECT_EQ(c.FormatTable, r.formatTable) << s;
        EXPECT_EQ(c.SuspendBox, r.suspend) << s;
        EXPECT_EQ(c.SuspendCaption, r.suspendCaption) << s;
        EXPECT_EQ(c.SuspendToolTip, r.suspendTip) << s;
    }
    EXPECT_EQ(ControlsFor(SearchRunState::Running).StartToolTip, "Stop search");
    EXPECT_EQ(ControlsFor(SearchRunState::Idle).StartToolTip, "Start search");
}
