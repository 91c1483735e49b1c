#include <gtest/gtest.h>

#include "masks/core/DefaultMasks.h"
#include "masks/core/InfoSearchCalls.h"
#include "masks/core/MaskParseError.h"
#include "searchwindow/core/WindowState.h"

namespace {
WindowState KnownWindow() {
    WindowState s;
    s.SearchFolder = "C:\\s\\";
    s.MasksFolder = "C:\\p\\Masks\\";
    s.StartAddress = "http://127.0.0.1/";
    s.CaptionMaskName = "Page title";
    s.FormatTableAddress = "file://C:\\p\\Resource/HTML.ftbl";
    s.SortAt = 2;
    s.FoundListView = 0;
    s.MaskListView = 1;
    s.PropertyListView = 2;
    s.ChannelCount = 7;
    s.MaxLevel = -1;
    s.MaxFound = -1;
    s.ReadBlock = 512;
    s.ThreadPriority = 0;
    s.ProcessExternalLinks = 1;
    const bool on[5] = {true, true, true, false, true};  // file, http, ftp, mail, gopher
    for (int i = 0; i < 5; ++i) s.ProtocolOn[i] = on[i];
    FilterBlock a, b;
    a.Add(4, "Link Image", true);
    b.Add(1, "Page title", false);
    s.Filters = {a, b};
    return s;
}

const char* const kGolden =
    "5/C:\\s\\11/C:\\p\\Masks\\0/0/17/http://127.0.0.1/10/Page title30/file://C:\\p\\Resource/HTML.ftbl"
    "2/0/1/2/7/-1/-1/512/0/1/1/1/1/0/1/2/1/4/10/Link Image-1/1/1/10/Page title0/";
}  // namespace

TEST(WindowState, GoldenStateStringOfAKnownWindow) { EXPECT_EQ(PutState(KnownWindow()), kGolden); }

TEST(WindowState, ParsedBackFieldByField) {
    const std::string text = kGolden;
    MaskTokenReader r(text);
    const WindowState s = ParseState(r);
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(PutState(s), kGolden);
    EXPECT_EQ(s.FormatTableAddress, "file://C:\\p\\Resource/HTML.ftbl");
    EXPECT_EQ(s.ChannelCount, 7);
    EXPECT_FALSE(s.ProtocolOn[3]);
    ASSERT_EQ(s.Filters.size(), 2u);
    EXPECT_EQ(s.Filters[0].Item(1).Name, "Link Image");
    EXPECT_TRUE(s.Filters[0].Item(1).FlagNot);
}

TEST(WindowState, ReadBlockAbove32767ComesBackFromItsLowBits) {
    WindowState s;
    s.ReadBlock = static_cast<int16_t>(40000);  // the window writes the low 16 bits
    const std::string text = PutState(s);
    MaskTokenReader r(text);
    EXPECT_EQ(ParseState(r).ReadBlock, -25536);
}

TEST(WindowState, UserDataRoundTripWithMasks) {
    MaskCollection masks;
    struct NoEngine : InfoSearchCalls {
        int32_t Status() override { return 0; }
        void EmptyMasks() override {}
        void AddMask(const std::string&, const std::string&, const std::string&, int32_t, int32_t, int32_t,
                     int32_t, int32_t, int32_t) override {}
    } engine;
    AddDefaultMasks(masks, engine);
    const std::string data = PutUserData(KnownWindow(), masks);
    const SearchUserData d = ParseUserData(data);
    EXPECT_EQ(PutState(d.State), kGolden);
    ASSERT_EQ(d.Masks.Count(), masks.Count());
    for (int32_t i = 1; i <= masks.Count(); ++i) EXPECT_EQ(d.Masks.Item(i).PutMask(), masks.Item(i).PutMask());
}

TEST(WindowState, UserDataLongerThan32768CharactersReopens) {
    MaskCollection masks;
    for (int i = 0; i < 30; ++i) {
        SearchMask& m = masks.Add("Keyword" + std::to_string(i), "", 0, 0, 0, 2, true, false, -1);
        m.AddValue(std::string(2000, 'a' + i % 26));
    }
    const std::string data = PutUserData(KnownWindow(), masks);
    ASSERT_GT(data.size(), 32768u);
    const SearchUserData d = ParseUserData(data);
    ASSERT_EQ(d.Masks.Count(), 30);
    EXPECT_EQ(d.Masks.Item(30).GetValue(1), std::string(2000, 'a' + 29 % 26));
}

TEST(WindowState, MalformedUserDataIsRefusedWhole) {
    MaskCollection masks;
    masks.Add("Only", "", 0, 0, 0, 2, true, false, -1).AddValue("a long value of the only mask");
    const std::string good = PutUserData(KnownWindow(), masks);
    std::string fewer;
    PutString(PutState(KnownWindow()), fewer);
    fewer += "5/" + masks.Item(1).PutMask();
    struct Row {
        const char* name;
        std::string text;
    } rows[] = {
        {"empty", ""},
        {"not a number", "x/"},
        {"state cut short", good.substr(0, 40)},
        {"mask cut inside its value", good.substr(0, good.find("long value") + 4)},
        {"more masks than there are", fewer},
        {"negative length", "-4/abcd"},
    };
    for (const Row& r : rows) EXPECT_THROW(ParseUserData(r.text), MaskParseError) << r.name;
}
