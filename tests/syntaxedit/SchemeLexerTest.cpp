#include <gtest/gtest.h>

#include <map>
#include <string>

#include "SYM_Compiler.h"

namespace {

// Reads every token: keyword codes as numbers, strings as '...' (escapes
// processed), numbers as #n, then "end"; or the error text.
std::string Tokens(const std::string& script, const std::map<std::string, std::string>& files = {}) {
    auto reader = [&files](const std::string& path, std::string& text) {
        auto it = files.find(path);
        if (it == files.end()) return false;
        text = it->second;
        return true;
    };
    try {
        TSYM_Compiler lex(script, "C:\\schemes", reader);
        std::string out;
        for (;;) {
            int t = lex.ReadToken();
            if (t == tkEndOfInput) return out + "end";
            if (t == tkString) out += "'" + lex.GetString() + "' ";
            else if (t == tkNumber) out += "#" + std::to_string(lex.LastNumber) + " ";
            else out += std::to_string(t) + " ";
        }
    } catch (const ESYM_COMP_ERROR& e) {
        return e.what();
    }
}

}  // namespace

TEST(SchemeLexer, TokenTable) {
    struct Case {
        const char* name;
        const char* script;
        const char* tokens;
    } cases[] = {
        {"section words any case", "%%WORDS %%words %%Language", "24 24 20 end"},
        {"handler and handlers", "%%handler %%handlers", "26 26 end"},
        {"punctuation", "( ) , + - [ ] ? = | *", "35 36 37 38 39 40 41 42 25 67 72 end"},
        {"keyword then bracket", "case(", "22 35 end"},
        {"InState any case", "instate INSTATE", "63 63 end"},
        {"number", "0 42 007", "#0 #42 #7 end"},
        {"number wraps at 32 bits", "4294967297", "#1 end"},
        {"string", "'abc'", "'abc' end"},
        {"quote right after the closing one is skipped", "'ab'' 'c'", "'ab' 'c' end"},
        {"escapes", "'\\t|\\x41|\\101|\\n|\\\\|\\''", "'\t|A|A|\r|\\|'' end"},
        {"escape of code 0 ends the value", "'ab\\x00|cd'", "'ab' end"},
        {"backslash x without digits gives 0", "'a\\xg'", "'a' end"},
        {"continued literal", "'ab\\\r\n    \\cd'", "'abcd' end"},
        {"continued literal after LF only", "'ab\\\n  cd'", "'abcd' end"},
        {"CR inside literal stays", "'a\rb'", "'a\rb' end"},
        {"unterminated literal ends at input end", "'abc", "'abc' end"},
        {"block comment", "/* x \r\n y */ 1", "#1 end"},
        {"line comment", "1 // two\r2", "#1 #2 end"},
        {"lone slash is no comment", "/",
         "** ERROR near line 1, Column 2: Unknown character in input stream: #$2f"},
        {"predefined colour", "clRed", "#255 end"},
        {"predefined any case", "CLBLUE __default_options", "#16711680 #67099632 end"},
        {"bookmark and key macros", "caSETBOOKMARK3 caGOTOBOOKMARK9 F12 None", "#23 #39 #123 #0 end"},
        {"routine macros", "__STD_IDENTIFIER __STD_C_STRING_SQ", "#10 #20 end"},
        {"blank 160", "\xA0" "1", "#1 end"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.tokens, Tokens(c.script)) << "row: " << c.name;
}

TEST(SchemeLexer, ErrorTable) {
    struct Case {
        const char* name;
        const char* script;
        const char* error;
    } cases[] = {
        {"unknown identifier", "name foo",
         "** ERROR near line 1, Column 9: Identifier \"foo\" Unknown"},
        {"case glued to a letter is one word", "casex",
         "** ERROR near line 1, Column 6: Identifier \"casex\" Unknown"},
        {"unknown character", "  @", "** ERROR near line 1, Column 4: Unknown character in input stream: #$40"},
        {"hash that starts no directive", "#pragma",
         "** ERROR near line 1, Column 2: Unknown character in input stream: #$23"},
        {"CR counts lines", "1\r2\r@", "** ERROR near line 3, Column 2: Unknown character in input stream: #$40"},
        {"LF counts lines too", "1\n2\n@", "** ERROR near line 3, Column 2: Unknown character in input stream: #$40"},
        {"CR LF counts once", "1\r\n2\r\n @",
         "** ERROR near line 3, Column 3: Unknown character in input stream: #$40"},
        {"lines inside a block comment", "/*\n\n*/ @",
         "** ERROR near line 3, Column 5: Unknown character in input stream: #$40"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.error, Tokens(c.script)) << "row: " << c.name;
}

TEST(SchemeLexer, PreprocessorTable) {
    struct Case {
        const char* name;
        const char* script;
        const char* result;
    } cases[] = {
        {"define as a colour", "#define kw clRed\rkw", "#255 end"},
        {"define trims the value", "#define A   1 + 2   \nA", "#1 38 #2 end"},
        {"define is case-insensitive", "#define Abc 5\nABC abc", "#5 #5 end"},
        {"define of its own name is not stored", "#define x X\nx",
         "** ERROR near line 2, Column 2: Identifier \"x\" Unknown"},
        {"redefine replaces", "#define a 1\n#define a 2\na", "#2 end"},
        {"define needs a name", "#define 5", "** ERROR near line 1, Column 9: Macro name expected"},
        {"mutual recursion", "#define a b\n#define b a\na",
         "** ERROR near line 3, Column 2: Recursive expansion of macro 'a'"},
        {"recursion named in lower case", "#define Aa Bb\n#define Bb AA\nAA",
         "** ERROR near line 3, Column 3: Recursive expansion of macro 'aa'"},
        {"ifdef ver200 takes the first branch", "#ifdef ver200\n1\n#else\n2\n#endif\n3", "#1 #3 end"},
        {"ifndef ver200 takes the else branch", "#ifndef ver200\n1\n#else\n2\n#endif", "#2 end"},
        {"ifdef of an unknown name", "#ifdef nothing\n1\n#endif\n2", "#2 end"},
        {"nested in a skipped branch stays skipped",
         "#ifdef nothing\n#ifdef ver200\n1\n#else\n2\n#endif\n3\n#else\n4\n#endif", "#4 end"},
        {"unknown words in a skipped region are dropped", "#ifdef nothing\nfoo @ bar\n#endif\n1", "#1 end"},
        {"ifdef needs a name", "#ifdef 1", "** ERROR near line 1, Column 8: Macro name expected after #ifdef"},
        {"ifndef needs a name too", "#ifndef (", "** ERROR near line 1, Column 9: Macro name expected after #ifdef"},
        {"define in a skipped region takes effect too",
         "#define v 1\n#ifdef nothing\n#define v 2\n#endif\nv", "#2 end"},
        {"the last define in either branch counts",
         "#define A 1\n#ifdef A\n#define X 4\n#else\n#define X 2\n#endif\n#ifndef A\n#define X 7\n#endif\nX",
         "#7 end"},
        {"a skipped define still needs its name", "#ifdef nothing\n#define 5\n#endif",
         "** ERROR near line 2, Column 9: Macro name expected"},
        {"define in a taken branch does", "#ifdef ver200\n#define v 2\n#endif\nv", "#2 end"},
        {"else without ifdef", "#else", "** ERROR near line 1, Column 6: #else without #ifdef"},
        {"endif without ifdef", "1 #endif", "** ERROR near line 1, Column 9: #endif without #ifdef"},
        {"directive word glued to a letter", "#defines",
         "** ERROR near line 1, Column 2: Unknown character in input stream: #$23"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.result, Tokens(c.script)) << "row: " << c.name;
}

TEST(SchemeLexer, IncludeTable) {
    std::map<std::string, std::string> files = {
        {"C:\\schemes\\common.inc", "#define shared 7\n"},
        {"local.inc", "1 2"},
        {"self.inc", "#include \"self.inc\"\n"},
        {"bad.inc", "\n\n  @"},
    };
    struct Case {
        const char* name;
        const char* script;
        const char* result;
    } cases[] = {
        {"angle brackets use the script folder", "#include <common.inc>\nshared", "#7 end"},
        {"quotes use the name as written", "#include \"local.inc\"\n3", "#1 #2 #3 end"},
        {"include in a skipped region is not read", "#ifdef nothing\n#include \"missing\"\n#endif\n1", "#1 end"},
        {"no opening", "#include local.inc",
         "** ERROR near line 1, Column 10: #include filename not enclosed in \"...\" or <...>"},
        {"no closing quote", "#include \"local.inc\n",
         "** ERROR near line 1, Column 20: #include filename missing terminating \""},
        {"no closing angle", "#include <common.inc",
         "** ERROR near line 1, Column 21: #include filename missing terminating >"},
        {"missing file", "#include <nope.inc>",
         "** ERROR near line 1, Column 20: Unable to open #include file <nope.inc>"},
        {"self-include stops at the depth limit", "#include \"self.inc\"",
         "** ERROR near line 1, Column 20: #include nested more than 16 deep: self.inc"},
        {"lines of an included file count", "#include \"bad.inc\"",
         "** ERROR near line 3, Column 4: Unknown character in input stream: #$40"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.result, Tokens(c.script, files)) << "row: " << c.name;
}

TEST(SchemeLexer, IncludeFromDisk) {
    // The fixture folder holds a scheme that includes itself.
    std::string folder = SCHEME_FIXTURES;
    try {
        TSYM_Compiler lex("#include <selfinclude.sch>", folder);
        while (lex.ReadToken() != tkEndOfInput) {
        }
        FAIL() << "a self-include must stop";
    } catch (const ESYM_COMP_ERROR& e) {
        EXPECT_NE(std::string(e.what()).find("#include nested more than 16 deep: selfinclude.sch"), std::string::npos)
            << e.what();
    }
}

TEST(SchemeLexer, MacroExpansionIsBounded) {
    // Each level doubles the expansion: without a bound this runs for ages.
    std::string script;
    for (int i = 0; i < 30; i++) script += "#define m" + std::to_string(i) + " m" + std::to_string(i + 1) + " m" +
                                           std::to_string(i + 1) + "\n";
    script += "#define m30 1\nm0";
    EXPECT_EQ("** ERROR near line 32, Column 3: Too many macro expansions", Tokens(script));
}
