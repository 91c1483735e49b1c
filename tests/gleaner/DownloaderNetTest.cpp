// The downloader against real peers: the test's own HTTP server (plain,
// chunked, slow, 404, dropped connection), pyftpdlib, and local files.
#include <winsock2.h>
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <thread>

#include "InfoDownloader.h"
#include "ScriptedServer.h"
#include "TestSupport.h"
#include "WinInetSession.h"

namespace {

class DownloaderNet : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* p : {"", "file://", "http://", "ftp://"}) protocols.AddProtocol(p);
        ASSERT_EQ(d.Create(&protocols), 1);
        ASSERT_EQ(d.HaveInternet(), 1);
    }

    std::string Http(const std::string& path) {
        return "http://127.0.0.1:" + std::to_string(qftest::PeerPort("QF_HTTP_PORT")) + path;
    }

    long Open(const std::string& address) { return d.OpenAddress(InfoAddress(address, protocols.Entries())); }

    // Reads to the end; returns the number of portions with bytes.
    int ReadAll(std::string& text) {
        int portions = 0;
        while (d.ReadPortion(text) > 0) ++portions;
        d.Close();
        return portions;
    }

    std::string Fixture(const std::string& rel) {
        std::string s = qftest::ReadFileBytes("site/" + rel);
        return s;
    }

    ProtocolList protocols;
    InfoDownloader d{MakeWinInetSession};
};

}  // namespace

TEST_F(DownloaderNet, HttpPage) {
    ASSERT_EQ(Open(Http("/index.htm")), 1);
    std::string text;
    d.PortionSize = 100;
    EXPECT_GT(ReadAll(text), 1);
    EXPECT_EQ(text, Fixture("index.htm"));
    EXPECT_EQ(d.Traffic(), static_cast<long>(text.size()));
    EXPECT_EQ(d.Complete(), 1);
}

TEST_F(DownloaderNet, ChunkedAndSlowChunked) {
    const std::string want = Fixture("long.htm");  // kept byte for byte: CR LF stays over HTTP
    ASSERT_NE(want.find("\r\n"), std::string::npos);
    ASSERT_EQ(Open(Http("/chunked/long.htm")), 1);
    std::string text;
    d.PortionSize = 512;
    ReadAll(text);
    EXPECT_EQ(text, want);
    // 16-byte pieces with pauses between them: every portion but the last is full.
    d.PortionSize = 64;
    d.ResetTraffic();
    ASSERT_EQ(Open(Http("/slow/long.htm")), 1);
    text.clear();
    std::vector<long> sizes;
    for (long n; (n = d.ReadPortion(text)) > 0;) sizes.push_back(n);
    d.Close();
    EXPECT_EQ(text, want);
    ASSERT_FALSE(sizes.empty());
    for (size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 64) << "portion " << i;
    EXPECT_EQ(d.Traffic(), static_cast<long>(want.size()));
}

// A 404 fails that address only; the session stays usable.
TEST_F(DownloaderNet, NotFoundFailsThatAddressOnly) {
    EXPECT_EQ(Open(Http("/missing.htm")), 0);
    EXPECT_FALSE(d.IsOpen());
    EXPECT_EQ(d.HaveInternet(), 1);
    EXPECT_EQ(Open("http://127.0.0.1:1/refused.htm"), 0);
    EXPECT_EQ(d.HaveInternet(), 1);
    ASSERT_EQ(Open(Http("/dir/page.htm")), 1);
    std::string text;
    ReadAll(text);
    EXPECT_EQ(text, Fixture("dir/page.htm"));
}

// A connection dropped half way ends the document with what arrived.
TEST_F(DownloaderNet, DroppedConnectionEndsTheDocument) {
    ASSERT_EQ(Open(Http("/drop/long.htm")), 1);
    std::string text;
    d.PortionSize = 256;
    ReadAll(text);
    const std::string want = Fixture("long.htm");
    EXPECT_LE(text.size(), want.size());
    EXPECT_EQ(text, want.substr(0, text.size()));
    EXPECT_GE(text.size(), want.size() / 2);
    EXPECT_EQ(d.Complete(), 1);
}

TEST_F(DownloaderNet, FtpDocument) {
    const std::string port = std::to_string(qftest::PeerPort("QF_FTP_PORT"));
    // The open flags ask for ASCII transfer: the server's LF arrives as CR LF.
    std::string want;
    for (char c : qftest::ReadFileBytes("ftproot/doc.htm")) {
        if (c == '\n') want += '\r';
        want += c;
    }
    for (std::string who : {"", "test:test@"}) {
        ASSERT_EQ(Open("ftp://" + who + "127.0.0.1:" + port + "/doc.htm"), 1) << who;
        std::string text;
        d.PortionSize = 32;
        ReadAll(text);
        EXPECT_EQ(text, want) << who;
    }
    EXPECT_EQ(Open("ftp://127.0.0.1:" + port + "/missing.htm"), 0);
}

TEST_F(DownloaderNet, LocalFile) {
    qftest::TempDir dir;
    std::string path = dir.File("local.htm");
    qftest::WriteFileBytes(path, "a\r\nb\r\n");
    d.FileMul = 10;
    ASSERT_EQ(Open("file://" + path), 1);
    std::string text;
    EXPECT_EQ(ReadAll(text), 1);
    EXPECT_EQ(text, "a\nb\n");
}

// A read that hangs on a stalled server returns as soon as the document is
// aborted from another thread (what the blocked read had gathered is lost).
TEST_F(DownloaderNet, AbortCutsOffAStalledRead) {
    const std::string want = Fixture("long.htm");
    ASSERT_EQ(Open(Http("/stall/long.htm")), 1);
    d.PortionSize = static_cast<long>(want.size());  // more than comes: the read waits for the rest
    std::thread aborter([&] {
        Sleep(300);
        d.Abort();
    });
    const DWORD start = GetTickCount();
    std::string text;
    long n = d.ReadPortion(text);
    aborter.join();
    EXPECT_LT(GetTickCount() - start, 10000u);  // the server sends the rest after a minute
    EXPECT_EQ(n, static_cast<long>(text.size()));
    EXPECT_LT(text.size(), want.size());
    EXPECT_EQ(text, want.substr(0, text.size()));
    EXPECT_EQ(d.ReadPortion(text), 0);
    d.Close();
    ASSERT_EQ(Open(Http("/index.htm")), 1);
    text.clear();
    ReadAll(text);
    EXPECT_EQ(text, Fixture("index.htm"));
}

// The connections WinINet allows per server are raised, never lowered.
TEST(WinInetLimit, RaisedNotLowered) {
    for (DWORD option : {static_cast<DWORD>(INTERNET_OPTION_MAX_CONNS_PER_SERVER),
                         static_cast<DWORD>(INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER)}) {
        DWORD before = 0, len = sizeof before;
        ASSERT_TRUE(InternetQueryOptionA(nullptr, option, &before, &len));
        RaiseConnectionLimit(static_cast<long>(before + 5));
        DWORD now = 0;
        len = sizeof now;
        ASSERT_TRUE(InternetQueryOptionA(nullptr, option, &now, &len));
        EXPECT_EQ(now, before + 5);
        RaiseConnectionLimit(1);
        len = sizeof now;
        ASSERT_TRUE(InternetQueryOptionA(nullptr, option, &now, &len));
        EXPECT_EQ(now, before + 5);
    }
}

// A reply without a status line (nothing at all, a reset, a few bytes, a
// status line cut short) is a failed open, not a document of 0 bytes.
TEST_F(DownloaderNet, ReplyWithoutStatusLineIsAFailedOpen) {
    ScriptedServer server;
    server.On("/closed", ScriptedServer::Bytes(""));
    server.On("/reset", ScriptedServer::Reset());
    server.On("/few", ScriptedServer::Bytes("abc"));
    server.On("/partial", ScriptedServer::Bytes("HTTP/1.1 20"));
    server.On("/good", ScriptedServer::Page("good"));
    for (const char* path : {"/closed", "/reset", "/few", "/partial"}) {
        EXPECT_EQ(Open(server.Url(path)), 0) << path;
        EXPECT_FALSE(d.IsOpen()) << path;
        d.Close();
    }
    ASSERT_EQ(Open(server.Url("/good")), 1);
    std::string text;
    ReadAll(text);
    EXPECT_EQ(text, "good");
}

// Redirects are followed a few times (a chain of three arrives), then the
// address fails: a page that redirects to itself, or A to B to A, ends.
TEST_F(DownloaderNet, RedirectLoopsFailTheAddress) {
    ScriptedServer server;
    server.On("/self", ScriptedServer::Redirect("/self"));
    server.On("/a", ScriptedServer::Redirect(server.Url("/b")));
    server.On("/b", ScriptedServer::Redirect("/a"));
    server.On("/r1", ScriptedServer::Redirect("/dir/r2"));
    server.On("/dir/r2", ScriptedServer::Redirect("r3"));
    server.On("/dir/r3", ScriptedServer::Page("arrived"));
    EXPECT_EQ(Open(server.Url("/self")), 0);
    EXPECT_LE(server.Requests("/self"), 11);
    EXPECT_EQ(Open(server.Url("/a")), 0);
    EXPECT_LE(server.Requests("/a") + server.Requests("/b"), 11);
    ASSERT_EQ(Open(server.Url("/r1")), 1);
    std::string text;
    ReadAll(text);
    EXPECT_EQ(text, "arrived");
}

// A reader that is given up stops for good: a slow redirect loop is not
// followed any further once the document is aborted.
TEST_F(DownloaderNet, AbandonedReaderStops) {
    ScriptedServer server;
    server.On("/slow", ScriptedServer::Redirect("/slow", 100));
    long opened = -1;
    std::thread opener([&] { opened = Open(server.Url("/slow")); });
    for (int i = 0; i < 1000 && server.Requests("/slow") < 2; ++i) Sleep(10);
    d.Abort();
    opener.join();
    EXPECT_EQ(opened, 0);
    const long at = server.Requests("/slow");
    Sleep(800);
    EXPECT_LE(server.Requests("/slow"), at + 1);
}

// A server that accepts and then says nothing, before or in the middle of
// its reply, cannot hold a reader for ever.
TEST(DownloaderNetTimeouts, SilentServerFailsTheAddress) {
    ScriptedServer server;
    server.On("/silent", ScriptedServer::Silent());
    ProtocolList l;
    for (const char* p : {"", "http://"}) l.AddProtocol(p);
    InfoDownloader d([](const std::string& agent) {
        WinInetTimeouts t;
        t.ConnectMs = 1000;
        t.ReceiveMs = 1000;
        return OpenWinInetSession(agent, t);
    });
    ASSERT_EQ(d.Create(&l), 1);
    EXPECT_EQ(d.OpenAddress(InfoAddress(server.Url("/silent"), l.Entries())), 0);
    const std::string port = std::to_string(qftest::PeerPort("QF_HTTP_PORT"));
    ASSERT_EQ(d.OpenAddress(InfoAddress("http://127.0.0.1:" + port + "/stall/long.htm", l.Entries())), 1);
    std::string text;
    d.PortionSize = 1 << 20;
    while (d.ReadPortion(text) > 0) {
    }
    d.Close();
    EXPECT_LT(text.size(), qftest::ReadFileBytes("site/long.htm").size());
}

// Addresses of over 10 KB (a long path, a long query) open and reach the
// server whole; one longer than the server takes in a request line fails
// that address only.
TEST_F(DownloaderNet, LongAddressesOpenWhole) {
    const std::string pad(10250, 'p');
    struct Row {
        const char* what;
        std::string path;
        std::string body;
    };
    const Row rows[] = {
        {"long path", "/echo/" + pad, "/echo/" + pad},
        {"long query", "/echo/q?k=" + pad + "&n=1", "/echo/q?k=" + pad + "&n=1"},
        {"long query on a page", "/index.htm?q=" + pad, Fixture("index.htm")},
    };
    for (const Row& r : rows) {
        ASSERT_EQ(Open(Http(r.path)), 1) << r.what;
        std::string text;
        ReadAll(text);
        EXPECT_EQ(text, r.body) << r.what;
    }
    EXPECT_EQ(Open(Http("/echo/" + std::string(70000, 'p'))), 0);
    EXPECT_EQ(d.HaveInternet(), 1);
    ASSERT_EQ(Open(Http("/index.htm")), 1);
    std::string text;
    ReadAll(text);
    EXPECT_EQ(text, Fixture("index.htm"));
}

// A redirect to a long address is followed, named in full or relative to
// where it came from; one whose header line is longer than the platform
// reads whole fails that address instead of opening a cut one.
TEST_F(DownloaderNet, RedirectsToLongAddresses) {
    const std::string path = "/echo/" + std::string(4000, 'p');
    ScriptedServer server;
    server.On("/full", ScriptedServer::Redirect(Http(path)));
    server.On("/relative", ScriptedServer::Redirect(path));
    server.On("/cut", ScriptedServer::Redirect(Http("/echo/" + std::string(10250, 'p'))));
    server.On(path, ScriptedServer::Page("long relative arrived"));
    struct Row {
        const char* from;
        long opened;
        std::string body;
    };
    const Row rows[] = {
        {"/full", 1, path},
        {"/relative", 1, "long relative arrived"},
        {"/cut", 0, ""},
    };
    for (const Row& r : rows) {
        ASSERT_EQ(Open(server.Url(r.from)), r.opened) << r.from;
        std::string text;
        ReadAll(text);
        EXPECT_EQ(text, r.body) << r.from;
    }
    EXPECT_EQ(server.Requests(path), 1);
    ASSERT_EQ(Open(Http("/index.htm")), 1);
    std::string text;
    ReadAll(text);
    EXPECT_EQ(text, Fixture("index.htm"));
}
