#include <gtest/gtest.h>

#include "SchemeTestUtil.h"
#include "SyntaxMemoErrors.h"

namespace {

TSchemeHighlighter& CLike() {
    static TSchemeHighlighter h;
    static bool done = false;
    if (!done) {
        h.CompileScript(ReadFixture("clike.sch"));
        done = true;
    }
    return h;
}

TSchemeHighlighter& Ini() {
    static TSchemeHighlighter h;
    static bool done = false;
    if (!done) {
        h.CompileScript(ReadFixture("ini.sch"));
        done = true;
    }
    return h;
}

struct Case {
    const char* name;
    const char* text;
    const char* tokens;
};

}  // namespace

TEST(TokenScanner, CLikeTable) {
    const Case cases[] = {
        {"keyword, identifier, operator", "if x", "2:2 0:1 1:1"},
        {"keyword needs its end character", "iffy", "1:4"},
        {"keywords are case-sensitive", "IF", "1:2"},
        {"number", "12.5e+3;", "3:7 12:1"},
        {"a dot alone is given up", ".", "0:1"},
        {"string with escape", "\"a\\\"b\" x", "4:6 0:1 1:1"},
        {"char", "'c'", "13:3"},
        {"operators are one character each", "a==b&&c", "1:1 12:1 12:1 1:1 12:1 12:1 1:1"},
        {"line comment stops at the CR", "x // note\ny", "1:1 0:1 5:7 0:1 1:1"},
        {"line comment at the text end", "//", "5:2"},
        {"block comment across lines", "a /* 1\n2 */ b", "1:1 0:1 6:9 0:1 1:1"},
        {"unclosed block comment runs to the end", "/* x\ny", "6:6"},
        {"key table word", "p = NULL;", "1:1 0:1 12:1 0:1 11:4 12:1"},
        {"key table needs its end set", "NULLX", "1:5"},
        {"break outside a block is an identifier", "break", "1:5"},
        {"break inside a block is a keyword", "{ break }", "8:1 0:1 10:5 0:1 9:1"},
        {"no rule for the character", "@ #", "0:1 0:1 0:1"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.tokens, ScanText(CLike(), c.text)) << "row: " << c.name;
}

TEST(TokenScanner, IniTable) {
    const Case cases[] = {
        {"section, key and value", "[main]\nkey = some value\n",
         "1:6 0:1 2:3 0:1 3:1 0:1 4:10 6:1"},
        {"comment", "; note\nk=v", "5:6 0:1 2:1 3:1 4:1"},
        {"bool only in the value state", "true = true", "2:4 0:1 3:1 0:1 7:4"},
        {"case-insensitive word", "k=TRUE", "2:1 3:1 7:4"},
        {"word needs its end", "k=truex", "2:1 3:1 4:5"},
        {"unclosed section ends at the text end", "[ab", "1:3"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.tokens, ScanText(Ini(), c.text)) << "row: " << c.name;
}

TEST(TokenScanner, StatesAcrossLines) {
    // Each "{" pushes the states and adds 2; each "}" pops them back.
    EXPECT_EQ("8:1{0,2} 0:1{0,2} 8:1{0,2} 0:1{0,2} 9:1{0,2} 0:1{0,2} 9:1{0}",
              ScanText(CLike(), "{\n{\n}\n}", true));
    // After "=" the value state lasts to the CR token, which leaves it.
    EXPECT_EQ("2:1{0} 3:1{0,1} 4:1{0,1} 6:1{0} 2:1{0} 3:1{0,1} 4:1{0,1}", ScanText(Ini(), "a=b\nc=d", true));
    EXPECT_TRUE(Ini().InBoundState());
}

TEST(TokenScanner, UnmatchedPopLeavesTheStates) {
    // A "}" with no "{" before it comes from the user's text: no error, the
    // states stay, and scanning goes on.
    EXPECT_EQ("9:1{0} 0:1{0} 1:1{0}", ScanText(CLike(), "} x", true));
    EXPECT_EQ("8:1{0,2} 9:1{0} 9:1{0} 9:1{0}", ScanText(CLike(), "{}}}", true));
    TRTStack stack;
    EXPECT_THROW(stack.Pop(), Exception);  // the stack itself still refuses
}

TEST(TokenScanner, PushThenPopRestores) {
    TSchemeHighlighter h;
    h.CompileScript("%%words 'a' '' 1 'b' '' 2 [0, 5] %%states 1 push ( + 5 - 0 ) 2 pop ( )");
    EXPECT_EQ("1:1{5} 2:1{0}", ScanText(h, "ab", true));
}

TEST(TokenScanner, ResetStateUsesContextStates) {
    TSchemeHighlighter h;
    h.CompileScript("%%language startstate = 4 contextstates = (7 [1, 2])");
    h.ResetState(7);
    EXPECT_EQ(TSet256::Of({1, 2}), h.Scanner.CurrentStates);
    h.ResetState(3);
    EXPECT_EQ(TSet256::Of({0, 4}), h.Scanner.CurrentStates);
    EXPECT_EQ(TSet256::Of({0}), h.GetAnchors());
}

TEST(TokenScanner, InvalidKeywordIsGivenUp) {
    // A key-table word is found in state 1, but its token is valid only in 0:
    // it comes back as token 0, length 1, and the next call starts one on.
    TSchemeHighlighter h;
    h.CompileScript("%%language startstate = [1] %%kwTables forstate [1] endswith '' ( 3 is 'ab' ) %%states 3 ( )");
    EXPECT_EQ("0:1 0:1", ScanText(h, "ab"));
    h.CompileScript("%%language startstate = [1] %%kwTables forstate [1] endswith '' ( 3 is 'ab' )");
    EXPECT_EQ("3:2", ScanText(h, "ab"));
    // A word outside the current states is not found at all.
    TSchemeHighlighter k;
    k.CompileScript("%%words 'ab' '' 3 [2]");
    EXPECT_EQ("0:1 0:1", ScanText(k, "ab"));
}

TEST(TokenScanner, CustomParse) {
    TSchemeHighlighter h;
    h.CompileScript("%%tokens 1 '#' match(7) %%words 'q' '' 2 %%handlers 2 match(8)");
    h.Scanner.OnCustomParse = [](int32_t id, TEdStream& st, int32_t& length, int32_t& value) {
        if (id == 7) {
            while (!st.AtEnd() && st.CurChar() >= '0' && st.CurChar() <= '9') {
                st.Next();
                length++;
            }
            value = 9;
            return true;
        }
        return false;  // 8 refuses
    };
    // "q" refuses its body; at the text's end it would keep what it has.
    EXPECT_EQ("9:3 0:1 0:1 0:1", ScanText(h, "#12 qz"));
    EXPECT_EQ("9:3 0:1 2:1", ScanText(h, "#12 q"));
    h.Scanner.OnCustomParse = nullptr;
    EXPECT_EQ("0:1", ScanText(h, "#"));
}

TEST(TokenScanner, BuiltinRoutineTables) {
    struct Routine {
        const char* macro;
        std::vector<Case> cases;
    } routines[] = {
        {"__STD_IDENTIFIER", {{"ident", "_a1 b", "1:3 0:1 1:1"}, {"digit first", "9", "0:1"}}},
        {"__STD_NUMBER_OR_FP",
         {{"float", "1.5e-3", "1:6"}, {"dot without digit", "1.x", "1:1 0:1 0:1"}, {"leading dot", ".5", "0:1 1:1"},
          {"exponent without digits", "2e+", "1:1 0:1 0:1"}}},
        {"__STD_PASCALSTRING", {{"doubled quote", "'a''b' c", "1:6 0:1 0:1"}, {"to the line end", "'ab\nc", "1:3 0:1 0:1"}}},
        {"__STD_C_STRING", {{"escape", "\"a\\\"\"", "1:5"}, {"line end", "\"ab\nx", "1:3 0:1 0:1"}}},
        {"__STD_C_CHAR", {{"char", "'\\''", "1:4"}}},
        {"__STD_C_NUMBER_OR_FP_SIGNED", {{"signed", "-1.5+2", "1:4 1:2"}, {"sign alone", "-x", "0:1 0:1"}}},
        {"__STD_NUMBER", {{"digits", "123.4", "1:3 0:1 1:1"}}},
        {"__STD_MAIL_URL",
         {{"mail", "me@host.org.", "1:11 0:1"}, {"no at", "a.b", "0:1 0:1 0:1"}}},
        {"__STD_HTML_STRING", {{"to the quote", "\"a b\"c", "1:5 0:1"}, {"line end", "\"ab\nc", "1:3 0:1 0:1"}}},
        {"__STD_JS_LINE_COMMENT",
         {{"two dashes", "/x-->", "1:2 0:1 0:1 0:1"}, {"three dashes keep the first", "/x--->", "1:3 0:1 0:1 0:1"},
          {"to the line end", "/ab\nc", "1:3 0:1 0:1"}}},
        {"__STD_C_STRING_SQ", {{"single quotes", "'a\\'b'", "1:6"}}},
    };
    for (const Routine& r : routines) {
        TSchemeHighlighter h;
        h.CompileScript(std::string("%%tokens 1 ") + r.macro);
        for (const Case& c : r.cases)
            EXPECT_EQ(c.tokens, ScanText(h, c.text)) << "routine " << r.macro << ", row: " << c.name;
    }
}

// A rule's token stands only when its end test matched or the text ended; a
// built-in routine body ends the token after one call without either.
TEST(TokenScanner, ARuleKeepsItsTokenOnlyWhenItsEndMatchesOrTheTextEnds) {
    TSchemeHighlighter h;
    h.CompileScript(
        "%%tokens 5 '#' __STD_IDENTIFIER '' 0 "  // a routine body, an empty end
        "6 '$' __STD_IDENTIFIER * '' 0 "          // the same, its end tried first
        "7 '@' '[a-z]' ' ' 0");                   // a set body up to a blank
    const Case cases[] = {
        {"routine body, more text after it", "#ab c", "0:3 0:1 0:1"},
        {"routine body up to the text's end", "#ab", "5:3"},
        {"routine body, the end tried first", "$ab", "6:1 0:1 0:1"},
        {"set body to its end", "@ab c", "7:3 0:1 0:1"},
        {"set body to the text's end", "@ab", "7:3"},
        {"set body refused", "@a.", "0:1 0:1 0:1"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.tokens, ScanText(h, c.text)) << "row: " << c.name;
}

TEST(TokenScanner, Containers) {
    TSchemeHighlighter h;
    h.CompileScript("%%words '<' '' 1 'x' '' 2 [3] %%handlers 1 '[^>]' * '>' 1 %%containers 1 ( + 3 )");
    TTextStore store;
    store.InsertText(0, "<ab>x");
    TEdStream st(&store);
    st.MoveTo(0);
    h.ResetState(0);
    int32_t len = 0;
    EXPECT_EQ(1, h.NextToken(st, len));
    EXPECT_EQ(4, len);
    // The container is open: its states hold while its characters are
    // scanned again, and its end restores the states from before it.
    EXPECT_EQ(TSet256::Of({0, 3}), h.Scanner.CurrentStates);
    EXPECT_TRUE(h.ContainerPending());
    st.MoveTo(1);
    EXPECT_EQ(0, h.NextToken(st, len));
    EXPECT_TRUE(h.ContainerPending());
    EXPECT_EQ(0, h.NextToken(st, len));
    EXPECT_EQ(0, h.NextToken(st, len));
    EXPECT_FALSE(h.ContainerPending());
    EXPECT_EQ(TSet256::Of({0}), h.Scanner.CurrentStates);
    EXPECT_EQ(0, h.NextToken(st, len));  // "x" only inside the container
}
