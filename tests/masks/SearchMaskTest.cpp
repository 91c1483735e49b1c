#include "masks/core/SearchMask.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "masks/core/MaskParseError.h"

namespace {
SearchMask LinkMask() {
    SearchMask m;
    m.MaskName = "Link";
    m.MaskType = 1;
    m.BrowserType = 1;
    m.Priority = 3;
    m.MaxFoundCount = -1;
    m.AddValue("abc");
    return m;
}
}  // namespace

TEST(SearchMask, NewMaskAndValues) {
    SearchMask m;
    EXPECT_EQ("", m.MaskName);
    EXPECT_EQ(0, m.MaxFoundCount);
    EXPECT_FALSE(m.CanCompile || m.Hidden || m.SortAt);
    m.AddValue("a");
    m.AddValue("a");  // duplicates are kept
    EXPECT_EQ(2, m.ValueCount());
    EXPECT_EQ(2, m.GetValueCount());
    EXPECT_EQ("a", m.MaskValue(2));
    EXPECT_THROW(m.GetValue(0), std::out_of_range);
    EXPECT_THROW(m.GetValue(3), std::out_of_range);
    m.ClearValues();
    EXPECT_EQ(0, m.ValueCount());
}

TEST(SearchMask, FoundChar) {
    struct Case {
        const char* text;
        const char* ch;
        int32_t index;
    } cases[] = {{"a=b=c", "=", 1}, {"abc", "=", -1}, {"", "=", -1}, {"=x", "=", 0}, {"a==", "==", -1}, {"abc", "", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.index, SearchMask::FoundChar(c.text, c.ch)) << "\"" << c.text << "\" \"" << c.ch << "\"";
}

TEST(SearchMask, MaskStringGolden) {
    EXPECT_EQ("4/Link0/1/0/1/3/-1/0/0/1/3/abc", LinkMask().PutMask());

    SearchMask bare;
    bare.MaskName = "N";
    bare.CanCompile = true;
    EXPECT_EQ("1/N0/0/0/0/0/0/-1/0/0/", bare.PutMask());  // no values: ends with 0/
}

TEST(SearchMask, MaskStringRoundTripAndWrap) {
    SearchMask m = LinkMask();
    m.DependOn = "Parent/1";
    m.Priority = 40000;  // beyond 16 bits: comes back wrapped
    m.CanCompile = true;
    m.Hidden = true;
    m.AddValue("x/3/y");
    m.SortAt = true;  // never written
    std::string text = m.PutMask() + "rest";

    SearchMask back;
    EXPECT_EQ("rest", back.GetMask(text));
    EXPECT_EQ("rest", text);
    EXPECT_EQ("Link", back.MaskName);
    EXPECT_EQ("Parent/1", back.DependOn);
    EXPECT_EQ(-25536, back.Priority);
    EXPECT_EQ(-1, back.MaxFoundCount);
    EXPECT_TRUE(back.CanCompile);
    EXPECT_TRUE(back.Hidden);
    EXPECT_FALSE(back.SortAt);
    EXPECT_EQ((std::vector<std::string>{"abc", "x/3/y"}), back.Values());
}

TEST(SearchMask, GetMaskKeepsValuesInFrontAndReadsAnyNonZeroAsTrue) {
    SearchMask m;
    m.AddValue("old");
    std::string text = "1/a0/0/0/0/0/0/7/0/1/1/v";
    m.GetMask(text);
    EXPECT_TRUE(m.CanCompile);
    EXPECT_FALSE(m.Hidden);
    EXPECT_EQ((std::vector<std::string>{"old", "v"}), m.Values());

    // A negative count reads no value.
    SearchMask n;
    text = "1/a0/0/0/0/0/0/0/0/-2/2/zz";
    EXPECT_EQ("2/zz", n.GetMask(text));
    EXPECT_EQ(0, n.ValueCount());

    // A text that ends before the values it counts gives fewer values.
    SearchMask short_;
    text = "1/a0/0/0/0/0/0/0/0/32767/1/x";
    short_.GetMask(text);
    EXPECT_EQ((std::vector<std::string>{"x"}), short_.Values());
}

TEST(SearchMask, MalformedMaskStringChangesNothing) {
    SearchMask m = LinkMask();
    const std::string before = m.PutMask();
    for (const char* bad : {"4/Link0/x/0/1/3/-1/0/0/1/3/abc", "4/Link0/1/0/1/3/-1/0/0/1/9/abc",
                            "9/Link", "4/Link0/1/0/1/3/99999/0/0/0/"}) {
        std::string text = bad;
        EXPECT_THROW(m.GetMask(text), MaskParseError) << bad;
        EXPECT_EQ(bad, text);
        EXPECT_EQ(before, m.PutMask()) << bad;
    }
}
