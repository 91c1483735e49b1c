#include <gtest/gtest.h>

#include "FakeSession.h"
#include "InfoDownloader.h"
#include "TestSupport.h"

namespace {

void Fill(ProtocolList& l, std::initializer_list<const char*> entries) {
    for (const char* e : entries) l.AddProtocol(e);
}

std::string FileAddress(const std::string& path) { return "file://" + path; }

// Reads a whole document; returns the sizes of the portions.
std::vector<long> ReadAll(InfoDownloader& d, std::string& text) {
    std::vector<long> sizes;
    for (;;) {
        long n = d.ReadPortion(text);
        sizes.push_back(n);
        if (n <= 0) break;
    }
    return sizes;
}

}  // namespace

TEST(Downloader, CreateRefusesTwiceAndSetsDefaults) {
    ProtocolList l;
    Fill(l, {"", "file://"});
    InfoDownloader d;
    EXPECT_EQ(d.Destroy(), 0);
    EXPECT_EQ(d.Create(&l), 1);
    EXPECT_EQ(d.Create(&l), 0);
    EXPECT_EQ(d.PortionSize, 1024);
    EXPECT_EQ(d.FileMul, 1);
    EXPECT_EQ(d.HaveInternet(), 0);  // no session factory
    EXPECT_EQ(d.Close(), 0);
    EXPECT_EQ(d.Destroy(), 1);
}

TEST(Downloader, LocalFileInPortionsWithFileMulAndLineEnds) {
    qftest::TempDir dir;
    std::string path = dir.File("page.htm");
    qftest::WriteFileBytes(path, "line one\r\nline two\r\n\rx\r\n");  // 24 bytes, 21 after CR LF -> LF
    ProtocolList l;
    Fill(l, {"", "http://", "file://"});  // "file://" not first on purpose
    InfoDownloader d;
    d.Create(&l);
    d.PortionSize = 4;
    d.FileMul = 2;  // local files: 8 bytes a portion
    ASSERT_EQ(d.OpenAddress(InfoAddress(FileAddress(path), l.Entries())), 1);
    EXPECT_TRUE(d.IsOpen());
    EXPECT_EQ(d.OpenAddress(InfoAddress(FileAddress(path), l.Entries())), 0);  // already open
    std::string text;
    EXPECT_EQ(ReadAll(d, text), (std::vector<long>{8, 8, 5, 0}));
    EXPECT_EQ(text, "line one\nline two\n\rx\n");
    EXPECT_EQ(d.Complete(), 1);
    EXPECT_EQ(d.Traffic(), 21);
    d.ResetTraffic();
    EXPECT_EQ(d.Traffic(), 0);
    EXPECT_EQ(d.Close(), 1);
    EXPECT_EQ(d.Close(), 0);
}

TEST(Downloader, PortionEdgeCases) {
    qftest::TempDir dir;
    std::string path = dir.File("exact.txt");
    qftest::WriteFileBytes(path, std::string(64, 'a'));
    ProtocolList l;
    Fill(l, {"", "file://"});
    InfoDownloader d;
    d.Create(&l);
    // Exactly one portion: a full read that already knows it was the last
    // (one byte is read ahead), then an empty one.
    d.PortionSize = 64;
    ASSERT_EQ(d.OpenAddress(InfoAddress(FileAddress(path), l.Entries())), 1);
    std::string text;
    EXPECT_EQ(d.ReadPortion(text), 64);
    EXPECT_EQ(d.Complete(), 1);
    EXPECT_EQ(d.ReadPortion(text), 0);
    EXPECT_EQ(d.Traffic(), 64);
    d.Close();
    // A portion size of 0 reads 32 bytes at a time.
    d.PortionSize = 0;
    ASSERT_EQ(d.OpenAddress(InfoAddress(FileAddress(path), l.Entries())), 1);
    text.clear();
    EXPECT_EQ(ReadAll(d, text), (std::vector<long>{32, 32, 0}));
    d.Close();
    // A missing file is not opened.
    EXPECT_EQ(d.OpenAddress(InfoAddress(FileAddress(dir.File("missing.htm")), l.Entries())), 0);
    EXPECT_FALSE(d.IsOpen());
}

// A downloader over an in-memory session, with "file://" and "http://" listed.
class DownloaderSession : public ::testing::Test {
protected:
    DownloaderSession() : s(std::make_shared<FakeSession::Shared>()), d(FakeSession::Factory(s)) {
        Fill(l, {"", "file://", "http://"});
        d.Create(&l);
    }
    long Open(const char* address) { return d.OpenAddress(InfoAddress(address, l.Entries())); }

    std::shared_ptr<FakeSession::Shared> s;
    ProtocolList l;
    InfoDownloader d;
};

// Pieces shorter than a portion are not the end: only an empty read is.
TEST_F(DownloaderSession, ShortReadsDoNotEndTheDocument) {
    s->docs["http://h/a.htm"] = std::string(50, 'x');
    s->piece = 7;
    d.PortionSize = 16;
    d.FileMul = 10;  // not for internet addresses
    ASSERT_EQ(Open("http://h/a.htm"), 1);
    std::string text;
    EXPECT_EQ(ReadAll(d, text), (std::vector<long>{16, 16, 16, 2, 0}));
    EXPECT_EQ(text, std::string(50, 'x'));
    EXPECT_EQ(d.Traffic(), 50);
}

// A failed open fails that address only; later addresses are still tried.
TEST_F(DownloaderSession, FailedInternetOpenFailsThatAddressOnly) {
    s->docs["http://h/good.htm"] = "good";
    EXPECT_EQ(d.HaveInternet(), 1);
    EXPECT_EQ(Open("http://h/missing.htm"), 0);
    EXPECT_EQ(d.HaveInternet(), 1);
    ASSERT_EQ(Open("http://h/good.htm"), 1);
    std::string text;
    ReadAll(d, text);
    EXPECT_EQ(text, "good");
    EXPECT_EQ(s->opened, (std::vector<std::string>{"http://h/missing.htm", "http://h/good.htm"}));
}

TEST_F(DownloaderSession, DisabledProtocolIsNeverOpened) {
    s->docs["http://h/a.htm"] = "a";
    l.DisableProtocol("http://");
    EXPECT_EQ(d.TestProtocol(2), 0);
    EXPECT_EQ(Open("http://h/a.htm"), 0);
    EXPECT_TRUE(s->opened.empty());
    l.EnableProtocol("http://");
    EXPECT_EQ(Open("http://h/a.htm"), 1);
}

// Without internet access local files still read, wherever "file://" stands in
// the list; internet addresses are refused without being tried.
TEST(Downloader, LocalFilesNeedNoInternet) {
    qftest::TempDir dir;
    std::string path = dir.File("x.htm");
    qftest::WriteFileBytes(path, "local");
    ProtocolList l;
    Fill(l, {"", "http://", "file://"});
    InfoDownloader d;  // no session
    d.Create(&l);
    EXPECT_EQ(d.OpenAddress(InfoAddress("http://h/a.htm", l.Entries())), 0);
    ASSERT_EQ(d.OpenAddress(InfoAddress(FileAddress(path), l.Entries())), 1);
    std::string text;
    ReadAll(d, text);
    EXPECT_EQ(text, "local");
}

TEST(ProtocolList, Members) {
    ProtocolList l;
    Fill(l, {"", "file://", "http://", "file://"});
    EXPECT_EQ(l.Entries(), (ProtocolStrings{"", "file://", "http://"}));
    EXPECT_EQ(l.TestProtocol("http://"), 0);
    EXPECT_EQ(l.TestProtocol("ftp://"), 1);
    l.DisableProtocol("http://");
    l.DisableProtocol("http://");
    l.DisableProtocol("ftp://");  // not listed
    EXPECT_EQ(l.Disabled(), (std::vector<std::string>{"http://"}));
    EXPECT_FALSE(l.IsEnabled(2));
    l.EnableAllProtocols();
    EXPECT_TRUE(l.IsEnabled(2));
    l.RemoveProtocol("file://");
    EXPECT_EQ(l.Entries(), (ProtocolStrings{"", "http://"}));
    l.DisableProtocol("http://");
    l.EmptyProtocols();
    EXPECT_TRUE(l.Entries().empty());
    EXPECT_EQ(l.Disabled(), (std::vector<std::string>{"http://"}));
}

// Removing or emptying entries moves the others, but the disabled set names
// prefixes, so it keeps pointing at the same ones.
TEST(ProtocolList, DisabledSetFollowsTheText) {
    ProtocolList l;
    Fill(l, {"", "file://", "http://", "ftp://"});
    l.DisableProtocol("ftp://");
    l.RemoveProtocol("file://");
    EXPECT_EQ(l.Entries(), (ProtocolStrings{"", "http://", "ftp://"}));
    EXPECT_TRUE(l.IsEnabled(1));   // http:// now stands where ftp:// stood
    EXPECT_FALSE(l.IsEnabled(2));  // ftp:// is still the disabled one
    l.EmptyProtocols();
    Fill(l, {"", "ftp://", "http://"});
    EXPECT_FALSE(l.IsEnabled(1));
    EXPECT_TRUE(l.IsEnabled(2));
    // A removed prefix can still be enabled by name.
    l.RemoveProtocol("ftp://");
    l.EnableProtocol("ftp://");
    EXPECT_TRUE(l.Disabled().empty());
}

// A plain path is a local file: it does not get past a disabled "file://",
// and other spellings of the file scheme are opened by no one.
TEST_F(DownloaderSession, PlainPathsFollowTheFileProtocol) {
    qftest::TempDir dir;
    std::string path = dir.File("x.htm");
    qftest::WriteFileBytes(path, "local");
    ASSERT_EQ(d.OpenAddress(InfoAddress(path, l.Entries())), 1);
    d.Close();
    l.DisableProtocol("file://");
    EXPECT_EQ(d.OpenAddress(InfoAddress(path, l.Entries())), 0);
    EXPECT_EQ(d.OpenAddress(InfoAddress(FileAddress(path), l.Entries())), 0);
    l.EnableProtocol("file://");
    for (std::string other : {"file:" + path, "FILE:/" + path}) {
        EXPECT_EQ(d.OpenAddress(InfoAddress(other, l.Entries())), 0) << other;
        EXPECT_FALSE(d.IsOpen());
    }
    EXPECT_TRUE(s->opened.empty());
}
