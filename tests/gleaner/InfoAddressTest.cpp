#include <gtest/gtest.h>

#include "InfoAddress.h"
#include "InfoDownloader.h"

namespace {
const ProtocolStrings kList = {"", "file://", "http://"};
}

TEST(InfoAddress, SplitsProtocolAndNormalisesPath) {
    InfoAddress a("HTTP://host\\a//b/../c/./d", kList);
    EXPECT_EQ(a.ProtocolIndex(), 2);
    EXPECT_EQ(a.Path(), "host/a/c/d");
    EXPECT_EQ(a.FullAddress(kList), "http://host/a/c/d");

    InfoAddress bare("plain/text.htm", kList);
    EXPECT_EQ(bare.ProtocolIndex(), 0);
    EXPECT_EQ(bare.Path(), "plain/text.htm");
    EXPECT_EQ(bare.FullAddress(kList), "plain/text.htm");

    EXPECT_EQ(InfoAddress("", kList).ProtocolIndex(), -1);
    EXPECT_EQ(InfoAddress("http://x", ProtocolStrings{""}).ProtocolIndex(), 0);
    EXPECT_EQ(InfoAddress("http://x", ProtocolStrings{}).ProtocolIndex(), 0);
}

TEST(InfoAddress, DirectoryAndHelpers) {
    EXPECT_EQ(InfoAddress("http://host", kList).Directory().Path(), "host/");
    EXPECT_EQ(InfoAddress("http://host/", kList).Directory().Path(), "host/");
    EXPECT_EQ(InfoAddress("http://host/a/b.htm", kList).Directory().Path(), "host/a/");
    EXPECT_EQ(InfoAddress("http://host x/a/b.htm", kList).Directory().Path(), "host/");
    EXPECT_EQ(InfoAddress("http://host/a/b?x=/y", kList).Directory().Path(), "host/a/");
    InfoAddress parent("http://h/d/p.htm", kList);
    EXPECT_EQ(InfoAddress("rel", kList, &parent).Directory().Path(), "h/d/");

    EXPECT_EQ(AddressHost("http://h.example/x/y"), "h.example");
    EXPECT_EQ(AddressHost("http://h.example"), "h.example");
    EXPECT_EQ(AddressHost("no-slashes"), "");
    EXPECT_EQ(AddressDisplay("http://h/dir/page.htm"), "page.htm");
    EXPECT_EQ(AddressDisplay("http://h/dir/"), "");
    EXPECT_EQ(AddressDisplay("name"), "name");
    EXPECT_EQ(StartsWithNoCase("FILE://x", "file://"), 1);
    EXPECT_EQ(StartsWithNoCase("", "a"), 0);
    EXPECT_EQ(StartsWithNoCase("a", ""), 0);
    EXPECT_EQ(UpperChar('a'), 'A');
    EXPECT_EQ(UpperChar('\xe4'), '\xe4');
}

struct ResolveCase {
    const char* link;
    const char* expected;
};

// The reference resolution examples of RFC 3986 (section 5.4), against the
// base "http://a/b/c/d;p?q", plus the cases the old rules got wrong.
TEST(InfoAddress, ResolvesLikeRfc3986) {
    const ResolveCase cases[] = {
        {"g", "http://a/b/c/g"},
        {"./g", "http://a/b/c/g"},
        {"g/", "http://a/b/c/g/"},
        {"/g", "http://a/g"},
        {"//g", "http://g"},
        {"?y", "http://a/b/c/d;p?y"},
        {"g?y", "http://a/b/c/g?y"},
        {"#s", "http://a/b/c/d;p?q#s"},
        {"g#s", "http://a/b/c/g#s"},
        {"g?y#s", "http://a/b/c/g?y#s"},
        {";x", "http://a/b/c/;x"},
        {"g;x", "http://a/b/c/g;x"},
        {".", "http://a/b/c/"},
        {"./", "http://a/b/c/"},
        {"..", "http://a/b/"},
        {"../", "http://a/b/"},
        {"../g", "http://a/b/g"},
        {"../..", "http://a/"},
        {"../../", "http://a/"},
        {"../../g", "http://a/g"},
        {"../../../g", "http://a/g"},
        {"../../../../g", "http://a/g"},
        {"/./g", "http://a/g"},
        {"/../g", "http://a/g"},
        {"g.", "http://a/b/c/g."},
        {".g", "http://a/b/c/.g"},
        {"g..", "http://a/b/c/g.."},
        {"..g", "http://a/b/c/..g"},
        {"./../g", "http://a/b/g"},
        {"./g/.", "http://a/b/c/g/"},
        {"g/./h", "http://a/b/c/g/h"},
        {"g/../h", "http://a/b/c/h"},
        {"g;x=1/./y", "http://a/b/c/g;x=1/y"},
        {"g;x=1/../y", "http://a/b/c/y"},
        {"g?y/./x", "http://a/b/c/g?y/./x"},
        {"g?y/../x", "http://a/b/c/g?y/../x"},
        {"g#s/./x", "http://a/b/c/g#s/./x"},
        {"g#s/../x", "http://a/b/c/g#s/../x"},
        // whole segments only: "/..foo" is a name, not a step up
        {"/..foo/x", "http://a/..foo/x"},
        {"x/..foo", "http://a/b/c/x/..foo"},
        {"HTTP://Other/p/../q", "http://Other/q"},
        {"g\\h", "http://a/b/c/g/h"},
        {"g//h", "http://a/b/c/g/h"},
        // a protocol that is not listed is not a relative link
        {"https://x.example/a/../b", "https://x.example/b"},
        {"javascript:go()", "javascript:go()"},
    };
    InfoAddress base("http://a/b/c/d;p?q", kList);
    for (const ResolveCase& c : cases) {
        InfoAddress link(c.link, kList, &base);
        EXPECT_EQ(link.Resolved().FullAddress(kList), c.expected) << "link " << c.link;
        EXPECT_EQ(InfoDownloader::Resolve(c.link, "http://a/b/c/d;p?q", kList), c.expected) << "link " << c.link;
    }
}

TEST(InfoAddress, ResolvesAgainstPagesAndFiles) {
    const struct {
        const char* base;
        const char* link;
        const char* expected;
    } cases[] = {
        {"http://h/dir/page.htm", "other.htm", "http://h/dir/other.htm"},
        {"http://h/dir/page.htm", "../up.htm", "http://h/up.htm"},
        {"http://h/dir/page.htm", "/top.htm", "http://h/top.htm"},
        {"http://h/dir/page.htm", "//o.example/x", "http://o.example/x"},
        {"http://h", "a.htm", "http://h/a.htm"},
        {"http://h/a/..foo/b.htm", "c.htm", "http://h/a/..foo/c.htm"},
        {"http://h/../../x/p.htm", "q.htm", "http://h/x/q.htm"},
        {"file://C:\\site\\dir\\page.htm", "x.htm", "file://C:/site/dir/x.htm"},
        {"file://C:\\site\\dir\\page.htm", "../../../../x.htm", "file://C:/x.htm"},
        {"file://C:\\site\\dir\\page.htm", "/top.htm", "file://C:/top.htm"},
        {"file:///tmp/site/page.htm", "../../../x.htm", "file:///x.htm"},
        {"file:///tmp/site/page.htm", "\\\\srv\\share\\f.htm", "file://srv/share/f.htm"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(InfoDownloader::Resolve(c.link, c.base, kList), c.expected) << c.base << " + " << c.link;

    // A link resolved against a relative link resolved against a page.
    InfoAddress page("http://h/a/b/p.htm", kList);
    InfoAddress mid("../c/q.htm", kList, &page);
    InfoAddress link("r.htm", kList, &mid);
    EXPECT_EQ(link.Resolved().FullAddress(kList), "http://h/a/c/r.htm");
    // Without a parent a relative address stays as it is.
    EXPECT_EQ(InfoAddress("../x", kList).Resolved().Path(), "../x");
}

TEST(InfoAddress, LocalAddresses) {
    EXPECT_TRUE(IsLocalAddress(InfoAddress("file://C:/x", kList), kList));
    EXPECT_TRUE(IsLocalAddress(InfoAddress("FILE:///tmp/x", kList), kList));
    EXPECT_TRUE(IsLocalAddress(InfoAddress("C:\\x\\y.ftbl", kList), kList));
    EXPECT_TRUE(IsLocalAddress(InfoAddress("Resource/HTML.ftbl", kList), kList));
    EXPECT_FALSE(IsLocalAddress(InfoAddress("http://h/x", kList), kList));
    EXPECT_FALSE(IsLocalAddress(InfoAddress("https://h/x", kList), kList));
    EXPECT_FALSE(IsLocalAddress(InfoAddress("//h/x", kList), kList));
    EXPECT_FALSE(IsLocalAddress(InfoAddress("", kList), kList));
    // Wherever "file://" stands in the list, it is the protocol that counts.
    const ProtocolStrings other = {"", "http://", "file://"};
    EXPECT_TRUE(IsLocalAddress(InfoAddress("file://C:/x", other), other));
    EXPECT_FALSE(IsLocalAddress(InfoAddress("http://h/x", other), other));
}

// Every spelling of the file scheme is local, judged on the text that a
// channel would open, listed or not.
TEST(InfoAddress, EverySpellingOfTheFileSchemeIsLocal) {
    struct Case {
        const char* text;
        bool local;
    };
    const Case cases[] = {
        {"file:\\\\Z:\\secret.txt", true}, {"File:\\\\Z:\\secret.txt", true}, {"file:\\/\\/Z:/secret.txt", true},
        {"file:/\\Z:\\secret.txt", true},  {"file:/x", true},                  {"file:x", true},
        {"file:%2Fetc%2Fpasswd", true},    {"FILE:///etc/passwd", true},       {"plain/path.htm", true},
        {"http://h/file:/x", false},       {"files://h/x", false},             {"//h/file:x", false},
        {"mailto:file@x", false},
    };
    const ProtocolStrings noFile = {"", "http://"};
    for (const Case& c : cases) {
        EXPECT_EQ(OpensLocally(c.text, kList), c.local) << c.text;
        EXPECT_EQ(OpensLocally(c.text, noFile), c.local) << c.text << " (no file:// listed)";
    }
}
