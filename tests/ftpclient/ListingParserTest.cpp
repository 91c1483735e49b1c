#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ftpclient/core/ClientUtils.h"
#include "ftpclient/core/ListingParser.h"

namespace {

struct Row {
    const char* name;  // of the case
    std::string line;
    bool gives;        // a row at all
    std::string entryName;
    std::string permissions;
    std::string owner;
    std::string group;
    std::string sizeText;
    std::string dateText;
    std::string linkTarget;
};

void Check(const Row& c) {
    TListingEntry e;
    bool gives = TListingParser::ParseLine(c.line, e);
    ASSERT_EQ(gives, c.gives) << c.name;
    if (!gives) return;
    EXPECT_EQ(e.Name, c.entryName) << c.name;
    EXPECT_EQ(e.Permissions, c.permissions) << c.name;
    EXPECT_EQ(e.Owner, c.owner) << c.name;
    EXPECT_EQ(e.Group, c.group) << c.name;
    EXPECT_EQ(e.SizeText, c.sizeText) << c.name;
    EXPECT_EQ(e.DateText, c.dateText) << c.name;
    EXPECT_EQ(e.LinkTarget, c.linkTarget) << c.name;
}

}  // namespace

TEST(ListingParser, LinesOfTheUnixLayout) {
    const Row cases[] = {
        {"total line", "total 12", false, "", "", "", "", "", "", ""},
        {"total upper case", "TOTAL 3", false, "", "", "", "", "", "", ""},
        {"empty line", "", false, "", "", "", "", "", "", ""},
        {"blanks only", "     ", false, "", "", "", "", "", "", ""},
        {"name with blanks", "-rw-r--r--   1 user  group   1234 Jan  1 12:00 my file.txt", true,
         "my file.txt", "-rw-r--r--", "user", "group", "1234", "Jan 1 12:00", ""},
        {"two blanks keep one", "-rw-r--r-- 1 u g 5 Jan 1 12:00  x", true, " x", "-rw-r--r--", "u", "g", "5",
         "Jan 1 12:00", ""},
        {"leading blank: no mode string", " a b", false, "", "", "", "", "", "", ""},
        {"link", "lrwxrwxrwx 1 u g 7 Jan 1 2000 www -> public_html", true, "www", "lrwxrwxrwx", "u", "g", "7",
         "Jan 1 2000", "public_html"},
        {"short line takes its last field", "-rw-r--r-- 1 u g 5 Jan", true, "Jan", "-rw-r--r--", "u", "g", "5",
         "Jan  ", ""},
        {"one word", "garbage", false, "", "", "", "", "", "", ""},
        {"mode string alone", "drwxr-xr-x", false, "", "", "", "", "", "", ""},
        {"tab is no separator", "-rw-r--r-- 1 u\tx g 5 Jan 1 12:00 a", true, "a", "-rw-r--r--", "u\tx", "g", "5",
         "Jan 1 12:00", ""},
        {"trailing blank kept in name", "-rw-r--r-- 1 u g 5 Jan 1 12:00 end ", true, "end ", "-rw-r--r--", "u",
         "g", "5", "Jan 1 12:00", ""},
        {"arrow in a plain file name", "-rw-r--r-- 1 u g 5 Jan 1 12:00 a -> b", true, "a -> b", "-rw-r--r--", "u",
         "g", "5", "Jan 1 12:00", ""},
    };
    for (const Row& c : cases) Check(c);
}

// Lines that are not Unix listing lines give no row: a made-up row would
// open as a download of a name the server does not have.
TEST(ListingParser, LinesOfOtherKindsGiveNoRow) {
    const Row cases[] = {
        {"error text", "Permission denied", false, "", "", "", "", "", "", ""},
        {"ls complaint", "ls: cannot open directory '.': Permission denied", false, "", "", "", "", "", "", ""},
        {"DOS folder", "12-31-20  01:23PM       <DIR>          My Folder", false, "", "", "", "", "", "", ""},
        {"DOS file", "12-31-20  01:23PM                 1234 file.txt", false, "", "", "", "", "", "", ""},
        {"mode string too short", "-rw-r--r 1 u g 5 Jan 1 12:00 a", false, "", "", "", "", "", "", ""},
        {"mode string with a stray letter", "-rw-q--r-- 1 u g 5 Jan 1 12:00 a", false, "", "", "", "", "", "", ""},
        {"unknown type", "Xrw-r--r-- 1 u g 5 Jan 1 12:00 a", false, "", "", "", "", "", "", ""},
        {"ACL mark", "-rw-r--r--+ 1 u g 5 Jan 1 12:00 acl", true, "acl", "-rw-r--r--+", "u", "g", "5",
         "Jan 1 12:00", ""},
        {"context mark", "drwxr-xr-x. 2 u g 6 Jan 1 12:00 ctx", true, "ctx", "drwxr-xr-x.", "u", "g", "6",
         "Jan 1 12:00", ""},
        {"sticky and setgid", "drwxr-sr-t 2 u g 6 Jan 1 12:00 shared", true, "shared", "drwxr-sr-t", "u", "g", "6",
         "Jan 1 12:00", ""},
        {"pipe", "prw-r--r-- 1 u g 0 Jan 1 12:00 fifo", true, "fifo", "prw-r--r--", "u", "g", "0", "Jan 1 12:00",
         ""},
    };
    for (const Row& c : cases) Check(c);
}

// Lines as pyftpdlib and vsftpd send them for the same folder.
TEST(ListingParser, LinesOfRealServers) {
    const Row cases[] = {
        {"pyftpdlib leading blank", "-rw-r--r--   1 root     root            1 Dec 10 19:18  lead.txt", true,
         " lead.txt", "-rw-r--r--", "root", "root", "1", "Dec 10 19:18", ""},
        {"pyftpdlib above 4 GiB", "-rw-r--r--   1 root     root     5368709243 Dec 10 19:18 big.iso", true,
         "big.iso", "-rw-r--r--", "root", "root", "5368709243", "Dec 10 19:18", ""},
        {"pyftpdlib folder with blank", "drwxr-xr-x   2 root     root         4096 Dec 10 19:18 empty dir", true,
         "empty dir", "drwxr-xr-x", "root", "root", "4096", "Dec 10 19:18", ""},
        {"pyftpdlib link to a file",
         "lrwxrwxrwx   1 root     root           11 Dec 10 19:18 link to file -> my file.txt", true,
         "link to file", "lrwxrwxrwx", "root", "root", "11", "Dec 10 19:18", "my file.txt"},
        {"pyftpdlib year form", "-rw-r--r--   1 root     root            1 Jan 01  2000 old.txt", true, "old.txt",
         "-rw-r--r--", "root", "root", "1", "Jan 01 2000", ""},
        {"pyftpdlib setuid", "-rwsr-xr-x   1 root     root            1 Dec 10 19:18 suid", true, "suid",
         "-rwsr-xr-x", "root", "root", "1", "Dec 10 19:18", ""},
        {"pyftpdlib inner blanks", "-rw-r--r--   1 root     root            1 Dec 10 19:18 two  blanks.txt", true,
         "two  blanks.txt", "-rw-r--r--", "root", "root", "1", "Dec 10 19:18", ""},
        {"vsftpd leading blank", "-rw-r--r--    1 0        0               1 Dec 10 19:18  lead.txt", true,
         " lead.txt", "-rw-r--r--", "0", "0", "1", "Dec 10 19:18", ""},
        {"vsftpd above 4 GiB", "-rw-r--r--    1 0        0        5368709243 Dec 10 19:18 big.iso", true, "big.iso",
         "-rw-r--r--", "0", "0", "5368709243", "Dec 10 19:18", ""},
        {"vsftpd link to a folder", "lrwxrwxrwx    1 0        0              11 Dec 10 19:18 www -> public_html",
         true, "www", "lrwxrwxrwx", "0", "0", "11", "Dec 10 19:18", "public_html"},
        {"vsftpd year form", "-rw-r--r--    1 0        0               1 Jan 01  2000 old.txt", true, "old.txt",
         "-rw-r--r--", "0", "0", "1", "Jan 01 2000", ""},
        {"vsftpd sticky folder", "drwxrwxrwt    2 0        0            4096 Dec 10 19:18 tmp", true, "tmp",
         "drwxrwxrwt", "0", "0", "4096", "Dec 10 19:18", ""},
    };
    for (const Row& c : cases) Check(c);
}

TEST(ListingParser, WholeTextWithEveryLineEnd) {
    std::string text =
        "total 8\r\n"
        "drwxr-xr-x 2 u g 4096 Jan 1 12:00 sub\r\n"
        "-rw-r--r-- 1 u g 3 Jan 1 12:00 a.txt\n"
        "\r\n"
        "   \n"
        "Permission denied\r\n"
        "-rw-r--r-- 1 u g 4 Jan 1 12:00 b.txt\r\n"
        "-rw-r--r-- 1 u g 5 Jan 1 12:00 c.txt";
    auto rows = TListingParser::Parse(text);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].Name, "sub");
    EXPECT_EQ(rows[1].Name, "a.txt");
    EXPECT_EQ(rows[2].Name, "b.txt");
    EXPECT_EQ(rows[3].Name, "c.txt");
    EXPECT_EQ(rows[3].SizeText, "5");
}

// A Unix name may hold a CR: lines end where the server ends them (LF, after
// a CR that is dropped), so such a name is one row, CR included.
TEST(ListingParser, LoneCarriageReturnStaysInTheName) {
    auto rows = TListingParser::Parse(
        "-rw-r--r-- 1 u g 4 Jan 1 12:00 odd\rname.txt\r\n"
        "-rw-r--r-- 1 u g 5 Jan 1 12:00 next.txt\r\n"
        "-rw-r--r-- 1 u g 6 Jan 1 12:00 lf only\n"
        "-rw-r--r-- 1 u g 7 Jan 1 12:00 last\r");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].Name, "odd\rname.txt");
    EXPECT_EQ(rows[0].SizeText, "4");
    EXPECT_EQ(rows[1].Name, "next.txt");
    EXPECT_EQ(rows[2].Name, "lf only");
    EXPECT_EQ(rows[3].Name, "last");
    // Such a name never becomes a local file name.
    std::string message;
    EXPECT_FALSE(CheckRemoteNameForLocal(rows[0].Name, message));
}

TEST(ListingParser, SizesAreSixtyFourBit) {
    const struct {
        const char* text;
        int64_t size;
    } cases[] = {
        {"0", 0}, {"1234", 1234}, {"5368709243", 5368709243LL}, {"9223372036854775807", INT64_MAX},
        {"9223372036854775808", 0}, {"", 0}, {"12a", 0}, {"-5", 0}, {" 5", 0},
    };
    for (auto& c : cases) EXPECT_EQ(SizeOfText(c.text), c.size) << "'" << c.text << "'";
}

TEST(ListingParser, LinkProbeInBinaryTypeDecidesFileOrFolder) {
    const struct {
        const char* name;
        TLinkProbe probe;
        std::string permissions;
        std::string size;
    } cases[] = {
        {"213 with a size is a file", {213, 5368709243LL}, "-rwxrwxrwx", "5368709243"},
        {"213 0 is an empty file", {213, 0}, "-rwxrwxrwx", "0"},
        {"550 is a folder", {550, 0}, "drwxrwxrwx", "11"},
        {"no reply is a folder", {0, 0}, "drwxrwxrwx", "11"},
    };
    for (auto& c : cases) {
        TListingEntry e;
        ASSERT_TRUE(TListingParser::ParseLine("lrwxrwxrwx 1 u g 11 Jan 1 2000 www -> public_html", e));
        ApplyLinkProbe(e, c.probe);
        EXPECT_EQ(e.Permissions, c.permissions) << c.name;
        EXPECT_EQ(e.SizeText, c.size) << c.name;
        EXPECT_EQ(e.LinkTarget, "public_html") << c.name;
        EXPECT_EQ(IsFolderRow(e), c.permissions[0] == 'd') << c.name;
    }
}

TEST(ListingParser, DotRowsAddedAndSortedFirst) {
    auto rows = TListingParser::Parse(
        "-rw-r--r-- 1 u g 1 Jan 1 12:00 b\n"
        "drwxr-xr-x 2 u g 1 Jan 1 12:00 Z\n"
        "-rw-r--r-- 1 u g 1 Jan 1 12:00 B\n"
        "drwxr-xr-x 2 u g 1 Jan 1 12:00 a\n");
    AddMissingDotRows(rows);
    SortRemoteRows(rows, TByteCollation::Instance());
    std::vector<std::string> names;
    for (auto& r : rows) names.push_back(r.Name);
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "Z", "a", "B", "b"}));
    EXPECT_EQ(rows[0].Permissions, "drwxrwxrwx");
    EXPECT_TRUE(IsFolderRow(rows[1]));

    // Rows the server sent are not doubled.
    auto withDots = TListingParser::Parse("drwxr-xr-x 2 u g 1 Jan 1 12:00 .\ndrwxr-xr-x 2 u g 1 Jan 1 12:00 ..\n");
    AddMissingDotRows(withDots);
    EXPECT_EQ(withDots.size(), 2u);
    EXPECT_EQ(withDots[0].Permissions, "drwxr-xr-x");
}

TEST(ListingParser, TypeTextAndIconKey) {
    TListingEntry file;
    file.Name = "setup.EXE";
    EXPECT_EQ(RowExtension(file), ".EXE");
    EXPECT_EQ(FileTypeText(RowExtension(file)), "EXE File");
    EXPECT_EQ(FileIconKey(RowExtension(file)), std::string("\2.com"));
    TListingEntry link;
    link.Name = "current";
    link.LinkTarget = "notes.txt";
    EXPECT_EQ(RowExtension(link), ".txt");
    EXPECT_EQ(FileIconKey(".txt"), std::string("\2.txt"));
    TListingEntry bare;
    bare.Name = "README";
    EXPECT_EQ(RowExtension(bare), "");
    EXPECT_EQ(FileTypeText(""), " File");
}

namespace {

// Answers SIZE as a server in binary type would: 213 for files only.
class FakeProber : public TLinkProber {
public:
    std::vector<std::string> calls;
    void BeginProbes() override { calls.push_back("TYPE I"); }
    TLinkProbe ProbeSize(const std::string& name) override {
        calls.push_back("SIZE " + name);
        if (name == "link to file") return TLinkProbe{213, 6};
        if (name == "empty link") return TLinkProbe{213, 0};
        return TLinkProbe{550, 0};
    }
};

}  // namespace

TEST(ListingParser, RowsOfAListingWithLinks) {
    FakeProber prober;
    auto rows = BuildRemoteRows(
        "total 3\r\n"
        "lrwxrwxrwx   1 root     root           11 Dec 10 19:18 www -> public_html\r\n"
        "lrwxrwxrwx   1 root     root           11 Dec 10 19:18 link to file -> my file.txt\r\n"
        "lrwxrwxrwx   1 root     root           11 Dec 10 19:18 empty link -> empty.txt\r\n"
        "-rw-r--r--   1 root     root            6 Dec 10 19:18 my file.txt\r\n",
        prober);
    EXPECT_EQ(prober.calls,
              (std::vector<std::string>{"TYPE I", "SIZE www", "SIZE link to file", "SIZE empty link"}));
    std::vector<std::string> shown;
    for (auto& r : rows) shown.push_back(r.Name + "|" + r.Permissions.substr(0, 1) + "|" + r.SizeText);
    EXPECT_EQ(shown, (std::vector<std::string>{".|d|", "..|d|", "www|d|11", "empty link|-|0",
                                               "link to file|-|6", "my file.txt|-|6"}));

    FakeProber none;
    auto plain = BuildRemoteRows("-rw-r--r-- 1 u g 1 Jan 1 12:00 a\n", none);
    EXPECT_TRUE(none.calls.empty());
    EXPECT_EQ(plain.size(), 3u);
}
