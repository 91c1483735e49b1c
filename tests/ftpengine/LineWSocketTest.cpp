// Line mode: lines cut from the reads the network happens to give, the last
// line at close, switching the mode with bytes buffered, over-long lines, and
// handlers that read nothing.
#include <gtest/gtest.h>

#include "Application.h"
#include "SocketTestSupport.h"
#include "TestSupport.h"

using namespace sockettest;
using qftest::PumpUntil;

namespace {

// A client in line mode connected to a test server; every delivery is logged.
struct TLinePair {
    TTestServer Server;
    TWSocket Client;
    std::vector<std::string> Log;  // lines as received, "<closed>", "<too long>"
    bool Connected = false;

    TLinePair(const std::string& LineEnd = "\r\n", int Limit = 65536) {
        Client.SetLineMode(true);
        Client.SetLineEnd(LineEnd);
        Client.SetLineLimit(Limit);
        Client.OnSessionConnected = [this](TObject*, uint16_t) { Connected = true; };
        Client.OnDataAvailable = [this](TObject*, uint16_t) { Log.push_back(Client.ReceiveText()); };
        Client.OnSessionClosed = [this](TObject*, uint16_t) { Log.push_back("<closed>"); };
        Client.OnLineTooLong = [this](TObject*) { Log.push_back("<too long>"); };
        Target(Client, Server.Port());
        Client.Connect();
        EXPECT_TRUE(PumpUntil([&] { return Connected && Server.HasConn(); }));
    }
    TWSocket& Peer() { return Server.Conn().Sock; }
    bool Send(const std::string& Chunk) { return DeliverChunk(Peer(), Client, Chunk); }
    void PeerCloses() {
        Peer().Close();
        EXPECT_TRUE(PumpUntil([&] { return !Log.empty() && Log.back() == "<closed>"; }));
    }
};

using V = std::vector<std::string>;

}  // namespace

TEST(LineWSocket, CaseTable) {
    struct Case {
        const char* Name;
        std::string LineEnd;
        int Limit;
        V Reads;          // what arrives, one read each
        bool PeerCloses;
        V Expected;
    };
    const Case cases[] = {
        {"terminator split between reads", "\r\n", 65536, {"ab\r", "\ncd\r\n"}, false, {"ab\r\n", "cd\r\n"}},
        {"several lines in one read", "\r\n", 65536, {"one\r\ntwo\r\nthr", "ee\r\n"}, false,
         {"one\r\n", "two\r\n", "three\r\n"}},
        {"empty lines", "\r\n", 65536, {"\r\n\r\n"}, false, {"\r\n", "\r\n"}},
        {"lone LF as line end", "\n", 65536, {"x\ny\n"}, false, {"x\n", "y\n"}},
        {"three-byte end split twice", "END", 65536, {"aaEN", "DbbE", "ND"}, false, {"aaEND", "bbEND"}},
        {"last line at close", "\r\n", 65536, {"abcd"}, true, {"abcd", "<closed>"}},
        {"complete lines before the last at close", "\r\n", 65536, {"a\r\nb"}, true, {"a\r\n", "b", "<closed>"}},
        {"line too long", "\r\n", 8, {"0123456789ABCDEF\r\n"}, false,
         {"<too long>", "01234567", "<too long>", "89ABCDEF", "\r\n"}},
        {"too long without end, rest at close", "\r\n", 8, {"0123456789"}, true,
         {"<too long>", "01234567", "89", "<closed>"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TLinePair p(c.LineEnd, c.Limit);
        for (const std::string& r : c.Reads) ASSERT_TRUE(p.Send(r));
        if (c.PeerCloses) p.PeerCloses();
        EXPECT_EQ(p.Log, c.Expected);
    }
}

TEST(LineWSocket, HandlerTakesTheLineInPieces) {
    TLinePair p;
    V pieces;
    std::vector<int> waiting;
    p.Client.OnDataAvailable = [&](TObject*, uint16_t) {
        waiting.push_back(p.Client.RcvdCount());
        char buf[2];
        int n = p.Client.Receive(buf, 2);
        if (n > 0) pieces.emplace_back(buf, static_cast<size_t>(n));
    };
    ASSERT_TRUE(p.Send("ab\r\ncd"));
    EXPECT_EQ(pieces, (V{"ab", "\r\n"}));
    EXPECT_EQ(waiting, (std::vector<int>{4, 2}));
}

TEST(LineWSocket, SwitchingLineModeOffDeliversTheBufferedBytes) {
    TLinePair p;
    ASSERT_TRUE(p.Send("xyz"));
    EXPECT_TRUE(p.Log.empty());
    p.Client.SetLineMode(false);
    ASSERT_TRUE(PumpUntil([&] { return !p.Log.empty(); }));
    EXPECT_EQ(p.Log, V{"xyz"});
    // Then plain data follows as it comes.
    ASSERT_TRUE(p.Send("more\r\n"));
    EXPECT_EQ(p.Log, (V{"xyz", "more\r\n"}));
}

TEST(LineWSocket, SwitchingOffAndOnAgainCutsTheRestIntoLines) {
    TLinePair p;
    p.Client.OnDataAvailable = [&](TObject*, uint16_t) {
        p.Log.push_back(p.Client.ReceiveText());
        if (p.Log.size() == 1) {
            p.Client.SetLineMode(false);
            p.Client.SetLineMode(true);
        }
    };
    ASSERT_TRUE(p.Send("a\r\nb\r\nc"));
    ASSERT_TRUE(PumpUntil([&] { return p.Log.size() >= 2; }));
    p.PeerCloses();
    EXPECT_EQ(p.Log, (V{"a\r\n", "b\r\n", "c", "<closed>"}));
}

TEST(LineWSocket, HandlerThatReadsNothingIsNotCalledForEver) {
    TLinePair p;
    int calls = 0;
    p.Client.OnDataAvailable = [&](TObject*, uint16_t) { ++calls; };
    ASSERT_TRUE(p.Send("one\r\n"));
    qftest::PumpFor(50);
    EXPECT_GE(calls, 1);
    EXPECT_LE(calls, 2);

    // The line waits; it comes first when more data arrives.
    p.Client.OnDataAvailable = [&](TObject*, uint16_t) { p.Log.push_back(p.Client.ReceiveText()); };
    ASSERT_TRUE(p.Send("two\r\n"));
    EXPECT_EQ(p.Log, (V{"one\r\n", "two\r\n"}));
}

TEST(LineWSocket, RedeliveryStopsWhenTheHandlerReadsNothing) {
    TLinePair p;
    ASSERT_TRUE(p.Send("xyz"));
    int calls = 0;
    p.Client.OnDataAvailable = [&](TObject*, uint16_t) { ++calls; };
    p.Client.SetLineMode(false);
    ASSERT_TRUE(PumpUntil([&] { return calls > 0; }));
    qftest::PumpFor(50);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(p.Client.ReceiveText(), "xyz");
}

TEST(LineWSocket, LineModeOffPassesDataStraightThrough) {
    TLinePair p;
    p.Client.SetLineMode(false);
    ASSERT_TRUE(p.Send("no\r\nlines\r\nhere"));
    EXPECT_EQ(p.Log, V{"no\r\nlines\r\nhere"});
}
