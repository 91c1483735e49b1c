#include "WideString.h"

#include <gtest/gtest.h>

TEST(WideString, NullAndEmptyDiffer) {
    WideString null;
    WideString empty(L"");
    EXPECT_TRUE(null.IsNull());
    EXPECT_FALSE(empty.IsNull());
    EXPECT_EQ(0u, null.Length());
    EXPECT_EQ(0u, empty.Length());
    EXPECT_NE(null, empty);
    EXPECT_EQ(WideString(), WideString(static_cast<const wchar_t*>(nullptr)));
    EXPECT_EQ("", null.ToAnsi());
}

TEST(WideString, CopyMoveAndAttach) {
    WideString a(L"abc");
    WideString b = a;
    EXPECT_EQ(a, b);
    EXPECT_NE(a.c_bstr(), b.c_bstr());  // a copy of its own

    WideString c = std::move(a);
    EXPECT_TRUE(a.IsNull());
    EXPECT_EQ(L"abc", c.ToWide());

    BSTR raw = c.Detach();
    EXPECT_TRUE(c.IsNull());
    WideString d = WideString::Attach(raw);
    EXPECT_EQ(raw, d.c_bstr());

    BSTR* slot = d.Receive();  // frees the old text
    EXPECT_TRUE(d.IsNull());
    *slot = SysAllocString(L"filled");
    EXPECT_EQ(L"filled", d.ToWide());
}

TEST(WideString, EmbeddedNulsKeepTheirLength) {
    WideString s(L"a\0b", 3);
    EXPECT_EQ(3u, s.Length());
    EXPECT_EQ(std::string("a\0b", 3), s.ToAnsi());
    EXPECT_NE(s, WideString(L"a"));
}

TEST(WideString, AnsiRoundTrip) {
    // "caf" + e-acute in the ANSI code page of the prefix (1252).
    ASSERT_EQ(1252u, GetACP());
    std::string ansi = "caf\xE9 <&> ~";
    WideString w = WideString::FromAnsi(ansi);
    EXPECT_EQ(L"caf\u00E9 <&> ~", w.ToWide());
    EXPECT_EQ(ansi, w.ToAnsi());
    EXPECT_FALSE(WideString::FromAnsi("").IsNull());
    // A character the code page lacks becomes the default character, not a crash.
    EXPECT_EQ("?", WideString(L"\u4E2D").ToAnsi());
}
