#include <gtest/gtest.h>

#include <string>

#include "ftpclient/core/FTPServer.h"
#include "ftpclient/core/TextIniFile.h"

TEST(FTPServer, ScrambleTable) {
    const struct {
        const char* name;
        std::string plain;
        int offset;
        std::string scrambled;
    } cases[] = {
        {"one byte", "p", 10, "0A7A"},
        {"empty", "", 10, ""},
        {"offset 32", "ab", 32, "208182"},
        {"wraps past 255 as two digits", "\xF0\xFF", 32, "20101F"},
        {"byte 0xE0 plus 32 is 00", "\xE0", 32, "2000"},
    };
    for (auto& c : cases) {
        std::string s = TFTPServer::ScramblePassword(c.plain, c.offset);
        EXPECT_EQ(s, c.scrambled) << c.name;
        EXPECT_EQ(TFTPServer::UnscramblePassword(s), c.plain) << c.name;
        EXPECT_EQ(s.size() % 2, 0u) << c.name;
    }
}

TEST(FTPServer, UnscrambleTable) {
    const struct {
        const char* name;
        std::string text;
        std::string plain;
    } cases[] = {
        {"one byte", "0A7A", "p"},
        {"lower-case hex", "0a7a", "p"},
        {"bad offset", "ZZ7A", ""},
        {"bad group", "0A7G", ""},
        {"blank in a group", "0A 7", ""},
        {"offset alone", "0A", ""},
        {"single character", "A", ""},
        {"single last character is a group", "0A7A0B", "p\x01"},
        {"odd tail", "0A7A1", std::string("p") + static_cast<char>((0x1 - 10) & 255)},
        {"empty", "", ""},
        {"below the offset wraps", "0A05", std::string(1, static_cast<char>(0xFB))},
    };
    for (auto& c : cases) EXPECT_EQ(TFTPServer::UnscramblePassword(c.text), c.plain) << c.name;
}

TEST(FTPServer, RandomOffsetsStayBetween1And32) {
    SeedScrambleOffsets(7);
    for (int i = 0; i < 500; ++i) {
        std::string s = TFTPServer::ScramblePassword("secret");
        int k = std::stoi(s.substr(0, 2), nullptr, 16);
        ASSERT_GE(k, 1);
        ASSERT_LE(k, 32);
        ASSERT_EQ(TFTPServer::UnscramblePassword(s), "secret");
    }
}

TEST(FTPServer, QuotingTable) {
    const struct {
        const char* name;
        std::string plain;
        std::string quoted;
    } cases[] = {
        {"plain", "abc", "\"abc\""},
        {"empty", "", "\"\""},
        {"double quote", "a\"b", "\"a\2b\""},
        {"cr lf", "a\r\nb", "\"a\3\4b\""},
        {"outer blanks", "  x  ", "\"  x  \""},
        {"quote at both ends", "\"x\"", "\"\2x\2\""},
    };
    for (auto& c : cases) {
        EXPECT_EQ(QuoteIniValue(c.plain), c.quoted) << c.name;
        EXPECT_EQ(UnquoteIniValue(c.quoted), c.plain) << c.name;
    }
    // Reading drops only one quote at each end, and only when present.
    EXPECT_EQ(UnquoteIniValue("abc"), "abc");
    EXPECT_EQ(UnquoteIniValue("\"abc"), "abc");
    EXPECT_EQ(UnquoteIniValue("\"\"abc\"\""), "\"abc\"");
    EXPECT_EQ(UnquoteIniValue("\""), "");
}

TEST(FTPServer, PasvTable) {
    const struct {
        const char* name;
        const char* line;  // nullptr: no PASV key
        uint8_t mode;
        bool passive;
    } cases[] = {
        {"Yes", "PASV=Yes", 1, true},          {"yes any case", "PASV=yEs", 1, true},
        {"No", "PASV=No", 0, false},           {"Default", "PASV=Default", 2, false},
        {"unknown text", "PASV=maybe", 2, false}, {"missing", nullptr, 2, false},
        {"empty", "PASV=", 2, false},
    };
    for (auto& c : cases) {
        std::string text = "[S]\nName=x\n";
        if (c.line) text += std::string(c.line) + "\n";
        TTextIniFile ini(text);
        TFTPServer site;
        site.LoadFromIni(ini, "S");
        EXPECT_EQ(site.PasvMode, c.mode) << c.name;
        EXPECT_EQ(site.IsPassive(), c.passive) << c.name;
    }
    // Written as it reads back, not quoted.
    const struct {
        uint8_t mode;
        const char* text;
    } written[] = {{0, "No"}, {1, "Yes"}, {2, "Default"}, {7, "Default"}};
    for (auto& w : written) {
        TTextIniFile ini;
        TFTPServer site;
        site.PasvMode = w.mode;
        ASSERT_TRUE(site.SaveToIni(ini, "S", [] { return 1; }));
        EXPECT_EQ(ini.ReadString("S", "PASV", "?"), w.text) << int(w.mode);
    }
}

TEST(FTPServer, SavedSectionBytesAndRoundTrip) {
    TFTPServer site;
    site.Name = "My \"site\"";
    site.Hostname = "ftp.example.test";
    site.Port = "2121";
    site.Username = "joe";
    site.Password = "p";
    site.PasvMode = 1;
    site.StartDir = "/pub";
    site.LocalStartDir = "C:\\Down\\";
    TTextIniFile ini;
    ASSERT_TRUE(site.SaveToIni(ini, "Server1", [] { return 10; }));
    EXPECT_EQ(ini.Text(),
              "[Server1]\r\n"
              "Name=\"My \2site\2\"\r\n"
              "Hostname=\"ftp.example.test\"\r\n"
              "Port=\"2121\"\r\n"
              "Username=\"joe\"\r\n"
              "Password=\"0A7A\"\r\n"
              "PASV=Yes\r\n"
              "StartDir=\"/pub\"\r\n"
              "LocalStartDir=\"C:\\Down\\\"\r\n");
    TTextIniFile again(ini.Text());
    TFTPServer back;
    back.LoadFromIni(again, "Server1");
    EXPECT_EQ(back, site);
}

TEST(FTPServer, AnonymousPasswordIsPlainOthersScrambled) {
    TFTPServer anon;
    anon.Name = "a";
    anon.Username = "Anonymous";
    anon.Password = "me@example.test";
    EXPECT_TRUE(anon.IsAnonymous());
    TTextIniFile ini;
    ASSERT_TRUE(anon.SaveToIni(ini, "S", [] { return 5; }));
    EXPECT_EQ(ini.ReadString("S", "Password", ""), "me@example.test");

    TFTPServer user = anon;
    user.Username = "joe";
    EXPECT_FALSE(user.IsAnonymous());
    ASSERT_TRUE(user.SaveToIni(ini, "T", [] { return 5; }));
    std::string stored = ini.ReadString("T", "Password", "");
    EXPECT_EQ(stored.substr(0, 2), "05");
    TFTPServer back;
    back.LoadFromIni(ini, "T");
    EXPECT_EQ(back.Password, "me@example.test");
}

TEST(FTPServer, EmptyOrMissingValuesKeepTheDefaults) {
    TTextIniFile ini("[S]\nName=\"x\"\nPort=\nHostname=\"\"\n");
    TFTPServer site;
    site.LoadFromIni(ini, "S");
    EXPECT_EQ(site.Name, "x");
    EXPECT_EQ(site.Port, "21");
    EXPECT_EQ(site.Hostname, "");
    EXPECT_EQ(site.PasvMode, 2);
    // A password that does not unscramble reads as empty.
    TTextIniFile bad("[S]\nName=x\nUsername=joe\nPassword=\"0AXY\"\n");
    TFTPServer b;
    b.LoadFromIni(bad, "S");
    EXPECT_EQ(b.Password, "");
}
