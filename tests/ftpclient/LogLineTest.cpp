#include <gtest/gtest.h>

#include <string>

#include "ftpclient/core/LogLine.h"

TEST(LogLine, AddLogTable) {
    const struct {
        const char* name;
        std::string text;
        int kind;
        bool shown;
        std::string line;
        uint32_t color;
    } cases[] = {
        {"command", "CWD /pub", lkCommand, true, "Command:    CWD /pub", LogGreen},
        {"password masked", "PASS secret", lkCommand, true, "Command:    PASS *****", LogGreen},
        {"password any case", "pass secret", lkCommand, true, "Command:    PASS *****", LogGreen},
        {"reply 230", "< 230 ok", lkReply, true, "            230 ok", LogBlack},
        {"reply echo of PASS dropped", "> PASS secret", lkReply, false, "", 0},
        {"reply without <", "230 ok", lkReply, false, "", 0},
        {"reply only <", "<", lkReply, true, "            ", LogBlack},
        {"status", "Ready", lkStatus, true, "Status:     Ready", LogBlue},
        {"info", "Ready to transmit", lkInfo, true, "            Ready to transmit", LogBlack},
        {"debug discarded", "- Command Success", lkDebug, false, "", 0},
        {"session discarded", "Session Connected, error = 0", lkSession, false, "", 0},
        {"empty text", "", lkInfo, false, "", 0},
        {"kind of no rule", "x", 10, false, "", 0},
        {"info echo of PASS masked", "> pass x", lkInfo, true, "            > PASS *****", LogBlack},
    };
    for (auto& c : cases) {
        TLogLine line;
        bool shown = MakeLogLine(c.text, c.kind, line);
        ASSERT_EQ(shown, c.shown) << c.name;
        if (!shown) continue;
        EXPECT_EQ(line.Text, c.line) << c.name;
        EXPECT_EQ(line.TextColor, c.color) << c.name;
    }
}

TEST(LogLine, PrefixesAreTwelveWide) {
    for (int kind : {lkInfo, lkStatus, lkCommand}) {
        TLogLine line;
        ASSERT_TRUE(MakeLogLine("X", kind, line));
        EXPECT_EQ(line.Text.find('X'), 12u) << kind;
    }
}

TEST(LogLine, ConnectingBoxTickerNeverShowsThePassword) {
    const struct {
        const char* name;
        std::string display;
        std::string ticker;
    } cases[] = {
        {"echo of PASS", "> PASS secret", "PASS *****"},
        {"lower case", "> pass secret", "PASS *****"},
        {"reply", "< 230 Login successful.", "230 Login successful."},
        {"echo of USER", "> USER joe", "USER joe"},
        {"short", "<", ""},
    };
    for (auto& c : cases) EXPECT_EQ(TickerText(c.display), c.ticker) << c.name;
}

TEST(LogLine, StateTexts) {
    const struct {
        int state;
        std::string text;
    } cases[] = {
        {0, "Disconnected"}, {1, "Ready"}, {2, ""}, {3, "Looking up hostname \"ftp.test\" ..."},
        {4, "Connected !"}, {5, "Aborting..."}, {6, ""}, {7, "Trying to connect to ftp.test ..."},
        {8, "Waiting for response..."}, {99, ""},
    };
    for (auto& c : cases) EXPECT_EQ(StateText(c.state, "ftp.test"), c.text) << c.state;
}
