#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DisplayLines.h"
#include "FtpDataAddress.h"
#include "FtpReply.h"
#include "FtpReplyReader.h"
#include "Ticks.h"

namespace {

std::vector<std::string> Lines(TFtpReplyReader& r) {
    std::vector<std::string> out;
    std::string l;
    while (r.NextLine(l)) out.push_back(l);
    return out;
}

std::vector<std::string> FeedAll(const std::string& bytes, size_t chunk) {
    TFtpReplyReader r;
    std::vector<std::string> out;
    for (size_t i = 0; i < bytes.size(); i += chunk) {
        r.Append(bytes.data() + i, std::min(chunk, bytes.size() - i));
        for (auto& l : Lines(r)) out.push_back(l);
    }
    return out;
}

}  // namespace

TEST(FtpReplyReader, CutsLinesWhateverTheChunks) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"crlf", "220 a\r\n230 b\r\n", {"220 a", "230 b"}},
        {"lone lf after crlf", "220-a\r\n220 b\n331 c\r\n", {"220-a", "220 b", "331 c"}},
        {"lone lf first", "220 a\n230 b\r\n", {"220 a", "230 b"}},
        {"nul kept", std::string("200 a\0b\r\n250 c\r\n", 16), {std::string("200 a\0b", 7), "250 c"}},
        {"cr inside kept", "200 a\rb\r\n", {"200 a\rb"}},
        {"no end yet", "220 a\r\n230 par", {"220 a"}},
        {"empty line", "\r\n200 x\r\n", {"", "200 x"}},
    };
    for (auto& c : cases) {
        for (size_t chunk : {size_t(1), size_t(2), size_t(3), size_t(1000)}) {
            EXPECT_EQ(FeedAll(c.bytes, chunk), c.lines) << c.name << " chunk " << chunk;
        }
    }
}

TEST(FtpReplyReader, OverLongLineIsCutAndTheSessionGoesOn) {
    std::string longLine = "200 " + std::string(10000, 'x');
    for (size_t chunk : {size_t(1), size_t(1500), size_t(5000), size_t(20000)}) {
        auto lines = FeedAll(longLine + "\r\n250 next\r\n", chunk);
        ASSERT_EQ(lines.size(), 2u) << chunk;
        EXPECT_TRUE(lines[0] == longLine.substr(0, TFtpReplyReader::MaxLine)) << lines[0].size();
        EXPECT_EQ(lines[1], "250 next");
    }
    std::string exact(TFtpReplyReader::MaxLine, 'z');
    auto lines = FeedAll(exact + "\r\n250 x\r\n", 1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0] == exact);
    EXPECT_EQ(lines[1], "250 x");
    // A full buffer without a line end is not the end of anything: more bytes still come.
    TFtpReplyReader r;
    std::string full(TFtpReplyReader::MaxLine - 1, 'y');
    r.Append(full.data(), full.size());
    std::string l;
    EXPECT_FALSE(r.NextLine(l));
    r.Append("\n", 1);
    ASSERT_TRUE(r.NextLine(l));
    EXPECT_TRUE(l == full);
}

TEST(FtpReply, RepairsTwoKnownServerLines) {
    EXPECT_EQ(RepairReplyLine("31 Username set to x"), "331 Username set to x");
    EXPECT_EQ(RepairReplyLine("21-Please try again"), "421-Please try again");
    EXPECT_EQ(RepairReplyLine("331 Username set to x"), "331 Username set to x");
    EXPECT_EQ(RepairReplyLine("31"), "31");
}

TEST(FtpReply, CodesAndContinuations) {
    struct Case {
        std::string line;
        bool continuation;
        int32_t code;
    } cases[] = {
        {"220 ready", false, 220},    {"220-welcome", true, 220}, {" 220 x", true, 220},
        {"hello", true, 0},           {"", true, 0},              {"230", false, 230},
        {"99999999999999 x", false, INT32_MAX},                   {"2a0 x", false, 2},
        {"-5 x", true, -5},
    };
    for (auto& c : cases) {
        EXPECT_EQ(IsContinuationLine(c.line), c.continuation) << c.line;
        EXPECT_EQ(ReplyCode(c.line), c.code) << c.line;
    }
}

TEST(FtpReply, AcceptedCodes) {
    const int32_t none[] = {0};
    const int32_t cwd[] = {200, 250, 257, 0};
    EXPECT_TRUE(CodeAccepted(499, none));
    EXPECT_FALSE(CodeAccepted(500, none));
    EXPECT_TRUE(CodeAccepted(250, cwd));
    EXPECT_FALSE(CodeAccepted(550, cwd));
    EXPECT_FALSE(CodeAccepted(0, cwd));
}

TEST(FtpReply, ValuesCarriedByReplies) {
    EXPECT_EQ(ParseDirResult("257 \"/home/a\" is current"), "/home/a");
    EXPECT_EQ(ParseDirResult("257 \"/we \"\"quote\"\"\" ok"), "/we \"quote\"");
    EXPECT_EQ(ParseDirResult("250 CWD ok"), "");
    EXPECT_EQ(ParseDirResult("257 \"unterminated"), "unterminated");
    EXPECT_EQ(ReplyNumberAfterCode("213 123"), 123);
    EXPECT_EQ(ReplyNumberAfterCode("213 5368709120"), 5368709120LL);
    EXPECT_EQ(ReplyNumberAfterCode("213"), 0);
}

TEST(FtpReply, AnnouncedSize) {
    struct Case {
        const char* name;
        const char* line;
        int64_t size;
    } cases[] = {
        {"vsftpd", "150 Opening BINARY mode data connection for f (100000 bytes).", 100000},
        {"beyond 4 GiB", "150 Opening BINARY mode data connection for big (5368709120 bytes).", 5368709120LL},
        {"none announced", "150 File status okay. About to open data connection.", -1},
        {"no digits", "150 Opening (bytes).", -1},
        {"other word", "150 Opening f (12 blocks).", -1},
        {"name holds a group, the last counts", "150 Opening (1 bytes) (20 bytes).", 20},
        {"too many digits", "150 Opening f (1234567890123456789012 bytes).", -1},
        {"unclosed", "150 Opening f (12 bytes", -1},
    };
    for (auto& k : cases) EXPECT_EQ(AnnouncedSize(k.line), k.size) << k.name;
}

TEST(FtpReply, TransferStatisticsText) {
    EXPECT_EQ(TransferStatisticsText(1000, 0), "1000 bytes received/sent in 0 seconds");
    EXPECT_EQ(TransferStatisticsText(1000, 500), "1000 bytes received/sent in 0 seconds (2000 Bytes/sec)");
    EXPECT_EQ(TransferStatisticsText(5368709120LL, 2000),
              "5368709120 bytes received/sent in 2 seconds (2684354000 Bytes/sec)");
}

TEST(FtpDataAddress, PasvReplies) {
    struct Case {
        std::string line;
        bool ok;
        uint16_t port;
    } cases[] = {
        {"227 Entering Passive Mode (127,0,0,1,200,10).", true, 200 * 256 + 10},
        {"227 Entering Passive Mode 10,1,2,3,4,5", true, 4 * 256 + 5},
        {"227 =127,0,0,1,0,21", true, 21},
        {"227 (1, 2, 3, 4, 5, 6)", true, 5 * 256 + 6},
        {"227 version 2 then (127,0,0,1,1,2)", true, 258},
        {"200 PORT command successful (127,0,0,1,200,10)", false, 0},
        {"227-Entering (127,0,0,1,200,10)", false, 0},
        {"227 Entering Passive Mode (127,0,0,1,200)", false, 0},
        {"227 Entering Passive Mode (127,0,0,1,256,10)", false, 0},
        {"227 Entering Passive Mode (1270,0,0,1,2,10)", false, 0},
        {"227 Entering Passive Mode (127,0,0,1,0,0)", false, 0},
        {"227", false, 0},
        {"", false, 0},
    };
    for (auto& c : cases) {
        TFtpDataAddress a;
        EXPECT_EQ(ParsePasvReply(c.line, a), c.ok) << c.line;
        if (c.ok) {
            EXPECT_EQ(a.Port, c.port) << c.line;
        }
    }
    TFtpDataAddress a;
    ASSERT_TRUE(ParsePasvReply("227 (192,168,1,2,3,4)", a));
    EXPECT_EQ(a.Host[0], 192);
    EXPECT_EQ(a.Host[3], 2);
}

TEST(FtpDataAddress, PortCommand) {
    TFtpDataAddress a;
    a.Host[0] = 127;
    a.Host[3] = 1;
    a.Port = 51234;
    EXPECT_EQ(FormatPortCommand(a), "PORT 127,0,0,1,200,34");
}

TEST(FtpDisplayLines, CutsAtRunsOfLineEnds) {
    std::string s = "a\r\nbb\n\n\rccc";
    EXPECT_EQ(CutDisplayLines(s.data(), s.size()), (std::vector<std::string>{"a", "bb", "ccc"}));
    EXPECT_TRUE(CutDisplayLines("\r\n", 2).empty());
}

TEST(FtpTicks, DeadlinesSurviveTheWrapOfTheCounter) {
    EXPECT_FALSE(TickReached(1000, 2000));
    EXPECT_TRUE(TickReached(2000, 2000));
    EXPECT_TRUE(TickReached(2001, 2000));
    // Deadline past the wrap: not reached just before it, reached after it.
    uint32_t deadline = 0xFFFFFF00u + 15000u;
    EXPECT_FALSE(TickReached(0xFFFFFF00u, deadline));
    EXPECT_FALSE(TickReached(0xFFFFFFFFu, deadline));
    EXPECT_TRUE(TickReached(deadline + 1, deadline));
    // Now just past the wrap, deadline before it: reached.
    EXPECT_TRUE(TickReached(5, 0xFFFFFFF0u));
}
