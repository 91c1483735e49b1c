#include <gtest/gtest.h>

#include "searchwindow/core/PageText.h"

TEST(PageText, TitleTextAndLinks) {
    const ReadablePage p = ParsePage(
        "<html><head><title> Fixture &amp; home </title><style>p{}</style></head>"
        "<body><p>First   line\nwraps</p><script>var x;</script>"
        "<p>See <a href=\"b.htm\">the second</a> and <A HREF='/top.htm'>top</A>.</p></body></html>",
        "http://127.0.0.1:8080/dir/index.htm");
    EXPECT_EQ(p.Title, "Fixture & home");
    EXPECT_EQ(p.Text, "First line wraps\r\nSee the second and top.");
    ASSERT_EQ(p.Links.size(), 2u);
    EXPECT_EQ(p.Links[0].Text, "the second");
    EXPECT_EQ(p.Links[0].Address, "http://127.0.0.1:8080/dir/b.htm");
    EXPECT_EQ(p.Links[1].Address, "http://127.0.0.1:8080/top.htm");
}

TEST(PageText, ResolvingLinks) {
    struct Row {
        const char* base;
        const char* href;
        const char* want;
    } rows[] = {
        {"http://h/a/b/c.htm", "d.htm", "http://h/a/b/d.htm"},
        {"http://h/a/b/c.htm", "../d.htm", "http://h/a/d.htm"},
        {"http://h/a/c.htm", "../../../d.htm", "http://h/d.htm"},
        {"http://h/a/c.htm", "/d.htm", "http://h/d.htm"},
        {"http://h", "d.htm", "http://h/d.htm"},
        {"http://h/a/", "./d.htm", "http://h/a/d.htm"},
        {"file://C:/site/index.htm", "sub/c.htm", "file://C:/site/sub/c.htm"},
        {"http://h/a/c.htm", "ftp://x/y", "ftp://x/y"},
        {"http://h/a/c.htm", "mailto:a@b", "mailto:a@b"},
    };
    for (const Row& r : rows) EXPECT_EQ(ResolveLink(r.base, r.href), r.want) << r.base << " + " << r.href;
}

TEST(PageText, BrokenMarkupNeverHangs) {
    for (const char* html : {"<", "<a href=", "<title>x", "<a href=b>unclosed", "&amp", "<<<>>>", ""}) {
        const ReadablePage p = ParsePage(html, "http://h/");
        SUCCEED() << html << p.Text;
    }
}

TEST(BrowserHistory, BackForwardAndANewVisit) {
    BrowserHistory h;
    EXPECT_EQ(h.Back(), "");
    h.Visit("a");
    h.Visit("b");
    h.Visit("c");
    EXPECT_EQ(h.Back(), "b");
    EXPECT_EQ(h.Back(), "a");
    EXPECT_FALSE(h.CanGoBack());
    EXPECT_EQ(h.Forward(), "b");
    h.Visit("d");  // drops c
    EXPECT_FALSE(h.CanGoForward());
    EXPECT_EQ(h.Entries(), (std::vector<std::string>{"a", "b", "d"}));
    EXPECT_EQ(h.Current(), "d");
}

#include "searchwindow/core/RegistryValue.h"

TEST(RegistryValue, NumbersAndStrings) {
    // 0x102 is 258; read byte by byte without leading zeros it came out as "12" (18).
    EXPECT_EQ(RegistryValueText(kRegDword, std::string("\x02\x01\x00\x00", 4)), "258");
    EXPECT_EQ(RegistryValueText(kRegDword, std::string("\xff\xff\xff\xff", 4)), "4294967295");
    EXPECT_EQ(RegistryValueText(kRegString, std::string("C:\\x\\msinfo32.exe\0", 18)), "C:\\x\\msinfo32.exe");
    EXPECT_FALSE(RegistryValueText(3, "abc"));
    EXPECT_FALSE(RegistryValueText(kRegDword, "ab"));
}
