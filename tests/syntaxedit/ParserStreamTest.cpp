#include <gtest/gtest.h>

#include "SchemeTestUtil.h"
#include "StreamPrimitives.h"

namespace {

std::string Bytes(TMemoryStream& m) {
    std::string s(static_cast<size_t>(m.Size()), '\0');
    m.SetPosition(0);
    if (!s.empty()) m.ReadBuffer(&s[0], static_cast<int32_t>(s.size()));
    return s;
}

std::string Written(const TSchemeHighlighter& h) {
    TMemoryStream m;
    h.WriteTables(m);
    return Bytes(m);
}

}  // namespace

TEST(ParserStream, RoundTripKeepsTablesAndSettings) {
    const char* texts[] = {"{ if (x == 1.5) { break; } } // done\n/* a\nb */ 'c' \"s\" NULL iffy @",
                           "[main]\nkey = true\n; note\nother=some value"};
    const char* schemes[] = {"clike.sch", "ini.sch"};
    for (int i = 0; i < 2; i++) {
        SCOPED_TRACE(schemes[i]);
        TSchemeHighlighter a("Parser1");
        a.CompileScript(ReadFixture(schemes[i]));
        TMemoryStream m;
        a.WriteTables(m);
        m.SetPosition(0);
        EXPECT_EQ(49, ReadWord(m));
        ReadInt(m);
        char magic[5] = {};
        m.ReadBuffer(magic, 4);
        EXPECT_STREQ("WRZL", magic);  // KH container

        m.SetPosition(0);
        TSchemeHighlighter b("Parser2");
        std::string message;
        ASSERT_TRUE(b.ReadTables(m, message)) << message;
        EXPECT_TRUE(Written(a) == Written(b)) << "the tables must write the same bytes again";
        EXPECT_EQ(ScanText(a, texts[i], true), ScanText(b, texts[i], true));
        EXPECT_EQ(a.LanguageSettings.LanguageName, b.LanguageSettings.LanguageName);
        EXPECT_EQ(a.StyleString(), b.StyleString());
        EXPECT_EQ(a.Tables().CaseSensitive, b.Tables().CaseSensitive);
    }
}

TEST(ParserStream, OtherVersionLeavesEmptyTables) {
    TSchemeHighlighter h("SyntaxMemoParser1");
    h.CompileScript(ReadFixture("ini.sch"));
    TMemoryStream m;
    WriteWord(m, 48);
    WriteInt(m, 0);
    m.SetPosition(0);
    std::string message;
    EXPECT_FALSE(h.ReadTables(m, message));
    EXPECT_EQ(
        "SyntaxMemoParser1: DFM file saved by different version of TSyntaxMemoParser.\n\r"
        "Recompile script to update DFM file.\n\r"
        "Expected version was 49 read version was 48",
        message);
    EXPECT_EQ("0:1 0:1", ScanText(h, "[a"));
}

TEST(ParserStream, DamagedStreamRaisesAndLeavesEmptyTables) {
    TSchemeHighlighter a;
    a.CompileScript(ReadFixture("clike.sch"));
    std::string good = Written(a);
    for (size_t cut : {size_t(1), size_t(6), size_t(12), good.size() - 1}) {
        SCOPED_TRACE(cut);
        TSchemeHighlighter b("P");
        b.CompileScript(ReadFixture("ini.sch"));
        TMemoryStream m;
        m.WriteBuffer(good.data(), static_cast<int32_t>(cut));
        m.SetPosition(0);
        std::string message;
        try {
            b.ReadTables(m, message);
            ADD_FAILURE() << "a cut stream must fail";
        } catch (const Exception& e) {
            EXPECT_EQ(0u, std::string(e.what()).find("P: ")) << e.what();
        }
        EXPECT_EQ("0:1", ScanText(b, "["));
    }
}

TEST(ParserStream, StyleString) {
    TSchemeHighlighter h;
    std::string s = h.StyleString();
    EXPECT_EQ(0u, s.find("Morvex6:OPT#8#67099632GWD#2#34GCL#"));
    EXPECT_EQ(s.size() - 5, s.rfind("#END#"));
    EXPECT_NE(std::string::npos, s.find("EFF#16#1,0,0,16777215,;"));

    h.CompileScript(ReadFixture("clike.sch"));
    s = h.StyleString();
    EXPECT_NE(std::string::npos, s.find("TBC#3#5 9"));
    EXPECT_NE(std::string::npos, s.find("2,8388608,16777215,B;"));
    EXPECT_NE(std::string::npos, s.find("5,32768,16777215,YI;"));

    // Every style defined: the count is written as 255, all 256 styles follow.
    std::string script = "%%effects";
    for (int n = 0; n < 256; n++) script += " " + std::to_string(n) + " [] 0 0";
    h.CompileScript(script);
    s = h.StyleString();
    size_t eff = s.find("EFF#");
    ASSERT_NE(std::string::npos, eff);
    size_t value = s.find('#', eff + 4) + 1;
    EXPECT_EQ("255,0,0,0,;", s.substr(value, 11));
    EXPECT_NE(std::string::npos, s.find(";255,0,0,;#END#"));
}

TEST(ParserStream, AssignAndKeyAssignments) {
    TSchemeHighlighter a("A"), b("B");
    a.CompileScript(ReadFixture("clike.sch"));
    b.AssignFrom(a);
    EXPECT_EQ("CLike", b.LanguageSettings.LanguageName);
    EXPECT_EQ(ScanText(a, "{ break } // x", true), ScanText(b, "{ break } // x", true));

    std::string keys = b.KeyAssignmentsData();
    ASSERT_GT(keys.size(), 9u);
    EXPECT_EQ(std::string("\x08Morvex6:"), keys.substr(0, 9));
    TMemoryStream m;
    m.WriteBuffer(keys.data() + 9, static_cast<int32_t>(keys.size() - 9));
    m.SetPosition(0);
    TKeyboardActionContoller k;
    k.LoadFromStream(m);
    EXPECT_EQ("Redo", k.CommandName(42));
    EXPECT_EQ(4u, k.Bindings().size());
}
