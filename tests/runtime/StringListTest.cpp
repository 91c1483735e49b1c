#include <gtest/gtest.h>

#include "Stream.h"
#include "StringList.h"
#include "SysUtils.h"

TEST(StringList, TextCutsEveryLineEnd) {
    TStringList l;
    l.SetText("a\r\nb\nc\rd");
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l.Strings(3), "d");
    EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\nd\r\n");
    l.SetText("");
    EXPECT_EQ(l.Count(), 0);
    l.SetText("\r\n\r\n");
    EXPECT_EQ(l.Count(), 2);
}

TEST(StringList, SortedWithDuplicateRules) {
    TStringList l;
    l.SetSorted(true);
    l.Add("pear");
    l.Add("Apple");
    l.Add("fig");
    EXPECT_EQ(l.Add("APPLE"), 0);  // dupIgnore keeps one
    EXPECT_EQ(l.Count(), 3);
    EXPECT_EQ(l.Strings(0), "Apple");
    EXPECT_EQ(l.IndexOf("FIG"), 1);
    l.SetDuplicates(dupError);
    EXPECT_THROW(l.Add("pear"), Exception);
    l.SetDuplicates(dupAccept);
    l.Add("pear");
    EXPECT_EQ(l.Count(), 4);
    EXPECT_THROW(l.Insert(0, "x"), Exception);
    EXPECT_THROW(l.Strings(4), Exception);
}

TEST(StringList, NameValueAndStreams) {
    TStringList l;
    l.Add("Host=example");
    l.Add("Port=21");
    EXPECT_EQ(l.Values("port"), "21");
    EXPECT_EQ(l.Values("user"), "");
    TMemoryStream m;
    l.SaveToStream(m);
    m.SetPosition(0);
    TStringList back;
    back.LoadFromStream(m);
    EXPECT_EQ(back.StringVector(), l.StringVector());
}
