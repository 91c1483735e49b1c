#include <gtest/gtest.h>

#include <functional>

#include "SchemeTestUtil.h"
#include "SyntaxMemoErrors.h"

namespace {

using Check = std::function<void(const TSchemeHighlighter&)>;

struct Case {
    const char* name;
    const char* script;
    const char* error;  // "" when the script must compile
    Check check;
};

void RunTable(const Case* cases, size_t n) {
    for (size_t i = 0; i < n; i++) {
        const Case& c = cases[i];
        SCOPED_TRACE(std::string("row: ") + c.name);
        TSchemeHighlighter h;
        std::string error = CompileError(h, c.script);
        EXPECT_EQ(c.error, error);
        if (c.check && error.empty()) c.check(h);
    }
}

const TSet256 S0 = TSet256::Of({0});

}  // namespace

TEST(SchemeCompiler, EmptyScriptGivesTheDefaults) {
    TSchemeHighlighter h;
    ASSERT_EQ("", CompileError(h, ""));
    const TParserTables& t = h.Tables();
    EXPECT_EQ(S0, t.StartStates);
    EXPECT_EQ(S0, t.AnchorStates);
    for (const TStateSet& c : t.ContextStates) EXPECT_EQ(S0, c);
    for (const auto& r : t.StartRules) EXPECT_FALSE(r);
    EXPECT_EQ(1, t.NoStateRules);
    EXPECT_EQ("0:1 0:1", ScanText(h, "ab"));
}

TEST(SchemeCompiler, GrammarErrorTable) {
    const Case cases[] = {
        {"not a section", "name", "** ERROR near line 1, Column 5: Script syntax error", nullptr},
        {"missing equals", "%%language name 'x'", "** ERROR near line 1, Column 20: '=' expected", nullptr},
        {"string required", "%%language name = 5", "** ERROR near line 1, Column 20: String value expected",
         nullptr},
        {"expression required", "%%language gutter = 'x'",
         "** ERROR near line 1, Column 24: Expression expected", nullptr},
        {"missing close bracket in expression", "%%language gutter = (1 + 2",
         "** ERROR near line 1, Column 27: Expression expected", nullptr},
        {"unknown word inside an expression", "%%language gutter = 1 + zz",
         "** ERROR near line 1, Column 27: Expression expected", nullptr},
        {"unknown word as an expression", "%%language gutter = zz",
         "** ERROR near line 1, Column 23: Expression expected", nullptr},
        {"unknown word as a state value", "%%map 1 clBleu", "** ERROR near line 1, Column 15: Expression expected",
         nullptr},
        {"unknown word where a string goes", "%%language name = Pascalish",
         "** ERROR near line 1, Column 28: Identifier \"Pascalish\" Unknown", nullptr},
    };
    RunTable(cases, sizeof cases / sizeof cases[0]);
    // Deep brackets are refused, not recursed into.
    TSchemeHighlighter h;
    std::string deep = "%%language gutter = " + std::string(5000, '(') + "1";
    EXPECT_NE(std::string::npos, CompileError(h, deep).find("Expression expected"));
}

TEST(SchemeCompiler, LanguageTable) {
    const Case cases[] = {
        {"name case options", "%%language name = 'Pascalish' case = 0 options = __DEFAULT_OPTIONS", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ("Pascalish", h.LanguageSettings.LanguageName);
             EXPECT_EQ(67099632, h.LanguageSettings.Options);
             EXPECT_EQ(0, h.Tables().CaseSensitive);
         }},
        {"name cut to 35", "%%language name = '0123456789012345678901234567890123456789'", "",
         [](const TSchemeHighlighter& h) { EXPECT_EQ(35u, h.LanguageSettings.LanguageName.size()); }},
        {"expression arithmetic", "%%language gutter = (10 + 5) - 3 rightmargin = 0 - 1", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ(12, h.LanguageSettings.Gutter);
             EXPECT_EQ(-1, h.LanguageSettings.RightMargin);
         }},
        {"startstate value adds 0", "%%language startstate = 3", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ(TSet256::Of({0, 3}), h.Tables().StartStates);
             EXPECT_EQ(TSet256::Of({0, 3}), h.Tables().ContextStates[9]);
         }},
        {"startstate list replaces", "%%language startstate = [4, 5]", "",
         [](const TSchemeHighlighter& h) { EXPECT_EQ(TSet256::Of({4, 5}), h.Tables().StartStates); }},
        {"anchor list", "%%language anchor = [1 2]", "",
         [](const TSchemeHighlighter& h) { EXPECT_EQ(TSet256::Of({1, 2}), h.Tables().AnchorStates); }},
        {"boundstates value", "%%language boundstates = 7", "",
         [](const TSchemeHighlighter& h) { EXPECT_EQ(TSet256::Of({7}), h.Tables().BoundStates); }},
        {"state list needs its bracket", "%%language anchor = [1 'x']",
         "** ERROR near line 1, Column 27: ']' expected", nullptr},
        {"state value range", "%%language anchor = 256", "Range error, value outwith 0 .. 255", nullptr},
        {"indentstep range", "%%language indentstep = 21", "Range error, value outwith 0 .. 20", nullptr},
        {"colour with use-default star", "%%language seltextcolor = [*] clRed guttercolor = [] clBlue", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ(255, h.LanguageSettings.SelTextColor);
             EXPECT_EQ(1, h.LanguageSettings.SelTextUseDefaultText);
             EXPECT_EQ(16711680, h.LanguageSettings.GutterColor);
             EXPECT_EQ(0, h.LanguageSettings.GutterUseDefault);
         }},
        {"tab columns", "%%language tabcolumns = '5 9;13'", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ(4, h.LanguageSettings.TabColumns[0]);
             EXPECT_EQ(12, h.LanguageSettings.TabColumns[2]);
             EXPECT_EQ(-1, h.LanguageSettings.TabColumns[3]);
         }},
        {"tab columns out of order", "%%language tabcolumns = '9 5'",
         "** ERROR near line 1, Column 30: Tab columns must be in order and unique", nullptr},
        {"tab columns parted by a TAB", "%%language\r  tabcolumns = '5\t9'",
         "** ERROR near line 2, Column 21: Tab stop column value expected", nullptr},
        {"tab column 1", "%%language tabcolumns = '1'", "** ERROR near line 1, Column 28: Tab column must be > 1",
         nullptr},
        {"editable styles", "%%language editablestyles ('Keyword', 2), ('Comment', 5)", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ("Comment", h.LanguageSettings.GetEditableStyle(2).Name);
             EXPECT_EQ(5, h.LanguageSettings.GetEditableStyle(2).Value);
         }},
        {"editable style value", "%%language editablestyles ('K', 256)",
         "** ERROR near line 1, Column 37: Value must be 0..255", nullptr},
        {"editable style comma", "%%language editablestyles ('K' 2)",
         "** ERROR near line 1, Column 33: ',' expected", nullptr},
        {"editable style bracket", "%%language editablestyles 'K'",
         "** ERROR near line 1, Column 30: '(' expected", nullptr},
        {"context states", "%%language contextstates = (1, 2 [3]), (4)", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ(TSet256::Of({3}), h.Tables().ContextStates[2]);
             EXPECT_EQ(S0, h.Tables().ContextStates[4]);  // none given: the start states
         }},
        {"context state re-specified", "%%language contextstates = (1 [3]), (1 [4])",
         "Token value 1 re-specified in ContextState", nullptr},
    };
    RunTable(cases, sizeof cases / sizeof cases[0]);
    TSchemeHighlighter h;
    std::string many = "%%language editablestyles ";
    for (int i = 0; i < 26; i++) many += std::string(i ? "," : "") + "('s', 1)";
    EXPECT_NE(std::string::npos, CompileError(h, many).find("Too many editable styles"));
}

TEST(SchemeCompiler, WordsAndKwTablesTable) {
    const Case cases[] = {
        {"words go to the keyword table", "%%words 'begin' '' 3 'end' '[^a-z]' 4 [1, 2]", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ(2, h.Tables().Keywords->EndStyles.Count());
             EXPECT_EQ(TSet256::Of({0, 1, 2}), h.Tables().TokenStates[4]->ValidStates);
         }},
        {"duplicate word", "%%words 'begin' '' 3 'BEGIN' '' 4",
         "** ERROR near line 1, Column 34: Duplicate entry in %%word table", nullptr},
        {"case-sensitive words differ by case", "%%language case = 1 %%words 'begin' '' 3 'BEGIN' '' 4", "",
         nullptr},
        {"same word in disjoint states", "%%words 'x' '' 3 [1] 'x' '' 4 [2]", "", nullptr},
        {"word specifier must be single", "%%words 'x' 'ab' 3",
         "** ERROR near line 1, Column 17: Single character specifier expected", nullptr},
        {"specifier order", "%%words 'x' 'z-a' 3", "Characters not in correct order for range specifier", nullptr},
        {"key table", "%%kwTables forstate [1] endswith '[^a-z]' ( 7 is 'nil', 'self' 8 is 'yes' )", "",
         [](const TSchemeHighlighter& h) {
             ASSERT_FALSE(h.LanguageSettings.KeyTableStates.empty());
             ASSERT_TRUE(h.LanguageSettings.KeyTableStates[0]);
             EXPECT_FALSE(h.LanguageSettings.KeyTableStates[1]);
             EXPECT_EQ(3u, h.LanguageSettings.KeyTableStates[0]->Words.size());
             EXPECT_EQ(TSet256::Of({1}), h.LanguageSettings.KeyTableStates[0]->States);
         }},
        {"empty key table states mean 0", "%%kwTables forstate [] endswith '' ( 7 is 'nil' )", "",
         [](const TSchemeHighlighter& h) { EXPECT_EQ(S0, h.LanguageSettings.KeyTableStates[0]->States); }},
        // The established texts of these checks, misplaced as they are.
        {"kwTables missing [", "%%kwTables forstate 1", "** ERROR near line 1, Column 22: ']' expected", nullptr},
        {"kwTables missing ]", "%%kwTables forstate [1 endswith", "** ERROR near line 1, Column 32: ']' expected",
         nullptr},
        {"kwTables missing endswith", "%%kwTables forstate [1] '[a]'",
         "** ERROR near line 1, Column 30: '[' expected", nullptr},
        {"kwTables missing end string", "%%kwTables forstate [1] endswith (",
         "** ERROR near line 1, Column 35: String value expected", nullptr},
        {"kwTables missing (", "%%kwTables forstate [1] endswith '' 7",
         "** ERROR near line 1, Column 38: '(' expected", nullptr},
        {"kwTables missing is", "%%kwTables forstate [1] endswith '' ( 7 'nil' )",
         "** ERROR near line 1, Column 46: String value expected", nullptr},
        {"kwTables missing word", "%%kwTables forstate [1] endswith '' ( 7 is )",
         "** ERROR near line 1, Column 45: String value expected", nullptr},
        {"kwTables missing )", "%%kwTables forstate [1] endswith '' ( 7 is 'nil' %%words",
         "** ERROR near line 1, Column 57: ')' expected", nullptr},
        {"overlapping key tables", "%%kwTables forstate [1,2] endswith '' (7 is 'a') forstate [2,3] endswith '' (7 is 'b')",
         "Ambigious key table state definition", nullptr},
    };
    RunTable(cases, sizeof cases / sizeof cases[0]);
}

TEST(SchemeCompiler, HandlersAndTokensTable) {
    const Case cases[] = {
        {"handler set body and end", "%%handlers 5 '[^\\n]' * '\\n' 0", "",
         [](const TSchemeHighlighter& h) {
             const TTokenHandler& hd = *h.Tables().TokenHandlers[5];
             EXPECT_EQ(1, hd.Star);
             EXPECT_EQ(0, hd.BodyIsRoutine);
             EXPECT_EQ(1, hd.End.EndCount);
             EXPECT_TRUE(h.Tables().Group(hd.End.EndSets[0]).Contains('\r'));
             EXPECT_FALSE(h.Tables().Group(hd.BodySet).Contains('\r'));
         }},
        {"handler custom body", "%%handlers 6 match(3)", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ(1, h.Tables().TokenHandlers[6]->BodyIsCustom);
             EXPECT_EQ(3, h.Tables().TokenHandlers[6]->BodyRoutine);
             EXPECT_EQ(1, h.Tables().UsesCustomParse);
         }},
        {"handler routine body, custom end", "%%handlers 7 13 match(2) 1", "",
         [](const TSchemeHighlighter& h) {
             const TTokenHandler& hd = *h.Tables().TokenHandlers[7];
             EXPECT_EQ(13, hd.BodyRoutine);
             EXPECT_EQ(1, hd.End.EndIsCustom);
             EXPECT_EQ(1, hd.End.IncludeEnd);
         }},
        {"four end specifiers", "%%handlers 5 'a' 'abcd' 1", "",
         [](const TSchemeHighlighter& h) { EXPECT_EQ(4, h.Tables().TokenHandlers[5]->End.EndCount); }},
        {"five end specifiers", "%%handlers 5 'a' 'abcde' 1",
         "** ERROR near line 1, Column 25: Maximum of 4 character specifier allowed", nullptr},
        {"duplicate handler", "%%handlers 5 'a' 5 'b'",
         "** ERROR near line 1, Column 23: Duplicate entry in %%handler table", nullptr},
        {"routine start", "%%tokens 1 __STD_IDENTIFIER", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_TRUE(h.Tables().StartRules[int('a')] && h.Tables().StartRules[int('_')]);
             EXPECT_FALSE(h.Tables().StartRules[int('0')]);
             EXPECT_EQ(10, h.Tables().StartRules[int('Z')]->StartRoutine);
         }},
        {"routine number out of range", "%%tokens 1 25", "** ERROR near line 1, Column 14: Script syntax error",
         nullptr},
        {"ambiguous start", "%%tokens 1 '[a-c]' 'x' '' 0 2 '[c-e]' 'y' '' 0",
         "** ERROR near line 1, Column 47: Ambigious start set in %%token table", nullptr},
        {"state group", "%%tokens ? 3 ( 4 'q' 'x' * '' 0 [5] )", "",
         [](const TSchemeHighlighter& h) {
             const TParserTables& t = h.Tables();
             EXPECT_EQ(TSet256::Of({3}), t.StatesWithRules);
             EXPECT_EQ(0, t.NoStateRules);
             ASSERT_TRUE(t.StateStartRules[3] && t.StateStartRules[3]->Rules[int('q')]);
             EXPECT_EQ(TSet256::Of({0, 3, 5}), t.StateStartRules[3]->Rules[int('q')]->ValidStates);
             EXPECT_FALSE(t.StartRules[int('q')]);
         }},
        {"state group needs its bracket", "%%tokens ? 3 4", "** ERROR near line 1, Column 15: '(' expected",
         nullptr},
    };
    RunTable(cases, sizeof cases / sizeof cases[0]);
}

TEST(SchemeCompiler, MapEffectsStatesTable) {
    const Case cases[] = {
        {"map", "%%map 13 4 7 9", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ(4, h.LanguageSettings.GetTokenMap(13));
             EXPECT_EQ(9, h.LanguageSettings.GetTokenMap(7));
         }},
        {"effect", "%%effects 1 [fsBold] clBlue * clWhite", "",
         [](const TSchemeHighlighter& h) {
             TStyleEntry s = h.LanguageSettings.GetStyle(1);
             EXPECT_EQ(1, s.FontStyle);
             EXPECT_EQ(16711680, s.TextColor);
             EXPECT_EQ(16777215, s.BackColor);
             EXPECT_EQ(1, s.UseDefaultText);
             EXPECT_EQ(0, s.UseDefaultBack);
             EXPECT_NE(0, s.Defined);
         }},
        {"hotspot", "%%effects 2 [] 0 0 'HotSpot'", "",
         [](const TSchemeHighlighter& h) { EXPECT_EQ(1, h.LanguageSettings.GetStyle(2).Hotspot); }},
        {"duplicate effect", "%%effects 1 [] 0 0 1 [] 0 0",
         "** ERROR near line 1, Column 28: Duplicate %%effect entry", nullptr},
        {"token 0 twice", "%%effects 0 [] 0 0 0 [] 255 0", "",
         [](const TSchemeHighlighter& h) { EXPECT_EQ(255, h.LanguageSettings.GetStyle(0).TextColor); }},
        {"effects bracket", "%%effects 1 0 0 0", "** ERROR near line 1, Column 14: '[' expected", nullptr},
        {"bad font style", "%%effects 1 ['b'] 0 0", "** ERROR near line 1, Column 17: Bad font style specifier",
         nullptr},
        {"unknown word as a font style", "%%effects 1 [fsBold, clBleu] clRed clWhite",
         "** ERROR near line 1, Column 28: Bad font style specifier", nullptr},
        {"unknown word first in the font styles", "%%effects 1 [fsBoldd] clRed clWhite",
         "** ERROR near line 1, Column 21: Bad font style specifier", nullptr},
        {"unknown word as a colour", "%%effects 1 [fsBold] clBleu clWhite",
         "** ERROR near line 1, Column 28: Expression expected", nullptr},
        {"push, items, trailing pop", "%%states 3 push ( + 1 - 2 ) pop", "",
         [](const TSchemeHighlighter& h) {
             const TTokenState& ts = *h.Tables().TokenStates[3];
             EXPECT_EQ(8, ts.StackOps);
             EXPECT_TRUE(ts.AddStates.Empty() && ts.RemoveStates.Empty());
             EXPECT_EQ(1, ts.NoChange);
         }},
        {"leading pop", "%%states 4 pop ( + [1, 2] )", "",
         [](const TSchemeHighlighter& h) {
             const TTokenState& ts = *h.Tables().TokenStates[4];
             EXPECT_EQ(2, ts.StackOps);
             EXPECT_EQ(TSet256::Of({1, 2}), ts.AddStates);
             EXPECT_EQ(0, ts.NoChange);
         }},
        {"states bracket", "%%states 3 [1]", "** ERROR near line 1, Column 13: '(' expected", nullptr},
        {"states close", "%%states 3 ( + 1 2", "** ERROR near line 1, Column 19: ')' expected", nullptr},
        {"container", "%%containers 9 ( + 4 )", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ(1, h.Tables().TokenStates[9]->IsContainer);
             EXPECT_EQ(TSet256::Of({4}), h.Tables().TokenStates[9]->AddStates);
         }},
    };
    RunTable(cases, sizeof cases / sizeof cases[0]);
}

TEST(SchemeCompiler, KeysAutoReplaceTemplatesTable) {
    const Case cases[] = {
        {"keys", "%%keys caUNDO ([ctrl] 'z' | [alt, shift] 8) 'Undo' caSETBOOKMARK1 ([ctrl] 'K', '1') 'Mark'", "",
         [](const TSchemeHighlighter& h) {
             auto b = h.LanguageSettings.KeyController->Bindings();
             ASSERT_EQ(3u, b.size());
             EXPECT_EQ("Undo", h.LanguageSettings.KeyController->CommandName(41));
             bool twoStroke = false;
             for (const TKeyBinding& k : b)
                 if (k.Command == 21) twoStroke = k.FirstKey == (scCtrl | 'K') && k.SecondKey == '1';
             EXPECT_TRUE(twoStroke);
         }},
        {"key string too long", "%%keys 1 ('ab')",
         "** ERROR near line 1, Column 15: Single character specifier expected", nullptr},
        {"key missing", "%%keys 1 ([ctrl] )", "** ERROR near line 1, Column 19: Key specification required",
         nullptr},
        {"blank name", "%%keys 1 (65) ''", "** ERROR near line 1, Column 17: Key function name cannot be blank",
         nullptr},
        {"auto replace", "%%autoreplace actionkeys = ' ' 'teh' = 'the'", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ(" ", h.LanguageSettings.AutoReplace->ActivationKeys);
             std::string text;
             EXPECT_TRUE(h.LanguageSettings.AutoReplace->FindTemplate("teh", text));
             EXPECT_EQ("the", text);
         }},
        {"templates", "%%templates hotkey = ([ctrl, shift] 'T') 'fori' ('loop') = 'for (;;)'", "",
         [](const TSchemeHighlighter& h) {
             EXPECT_EQ(scCtrl | scShift | 'T', h.LanguageSettings.CodeTemplates->HotKey);
             std::string text;
             EXPECT_TRUE(h.LanguageSettings.CodeTemplates->FindTemplate("fori", text));
             EXPECT_EQ("for (;;)", text);
         }},
        {"template equals", "%%templates 'a' 'b'", "** ERROR near line 1, Column 20: '=' expected", nullptr},
    };
    RunTable(cases, sizeof cases / sizeof cases[0]);
}

// Names longer than their length byte in the stored form are cut as
// descriptions are, so that a scheme with one compiles and is stored.
TEST(SchemeCompiler, LongNamesAreCutSoTheSettingsCanBeStored) {
    const std::string longName(300, 'n'), longDescription(300, 'd');
    struct Row {
        const char* name;
        std::string script;
        std::function<std::string(const TSM_Settings&)> stored;  // the name as kept
    } rows[] = {
        {"template", "%%templates '" + longName + "' ('" + longDescription + "') = 'x'",
         [](const TSM_Settings& s) { return s.CodeTemplates->Macros->Strings(0); }},
        {"auto-correct word", "%%autoreplace '" + longName + "' = 'x'",
         [](const TSM_Settings& s) { return s.AutoReplace->Macros->Strings(0); }},
        {"key command", "%%keys 1 (65) '" + longName + "'",
         [](const TSM_Settings& s) { return s.KeyController->CommandName(1); }},
    };
    for (const Row& r : rows) {
        TSchemeHighlighter h;
        ASSERT_EQ("", CompileError(h, r.script)) << "row: " << r.name;
        EXPECT_EQ(std::string(255, 'n'), r.stored(h.LanguageSettings)) << "row: " << r.name;
        TMemoryStream m;
        EXPECT_NO_THROW(h.WriteTables(m)) << "row: " << r.name;
    }
    // Activation keys cannot be cut without changing what they mean: refused.
    TSchemeHighlighter h;
    EXPECT_EQ("Activation keys too long: at most 255 characters",
              CompileError(h, "%%autoreplace actionkeys = '" + std::string(256, ';') + "'"));
}

TEST(SchemeCompiler, FixturesCompile) {
    for (const char* name : {"clike.sch", "ini.sch"}) {
        TSchemeHighlighter h;
        EXPECT_EQ("", CompileError(h, ReadFixture(name))) << name;
    }
    TSchemeHighlighter h;
    h.CompileScript(ReadFixture("clike.sch"));
    EXPECT_EQ("CLike", h.LanguageSettings.LanguageName);
    EXPECT_EQ(TSet256::Of({0, 5}), h.Tables().AnchorStates);
    EXPECT_EQ(1, h.Tables().CaseSensitive);
    EXPECT_TRUE(h.LanguageSettings.HasHotspots());
}

TEST(SchemeCompiler, FailedCompileKeepsTheTablesInUse) {
    TSchemeHighlighter h;
    h.CompileScript(ReadFixture("ini.sch"));
    std::string before = ScanText(h, "[s]\nk=v");
    // Fails in its last section, after it changed the name and the words.
    std::string bad = "%%language name = 'Broken' %%words 'k' '' 9 %%tokens 1 'a' 'b' '' 0 2 'a' 'b' '' 0";
    EXPECT_EQ("** ERROR near line 1, Column 83: Ambigious start set in %%token table", CompileError(h, bad));
    EXPECT_EQ(1, h.ErrorLine);
    EXPECT_EQ(83, h.ErrorColumn);
    EXPECT_EQ("IniFile", h.LanguageSettings.LanguageName);
    EXPECT_EQ(before, ScanText(h, "[s]\nk=v"));
    EXPECT_FALSE(h.Tables().StartRules[int('a')] && h.Tables().StartRules[int('a')]->Token == 1);
}

TEST(SchemeCompiler, ErrorClasses) {
    struct Row {
        const char* name;
        const char* script;
        int kind;  // 0 grammar, 1 ESyntaxMemo, 2 EKeywords, 3 plain Exception
    } rows[] = {
        {"grammar", "%%map x", 0},
        {"range", "%%map 300 1", 1},
        {"key tables", "%%kwTables forstate [1,2] endswith '' (7 is 'a') forstate [2] endswith '' (7 is 'b')", 2},
        {"character order", "%%words 'a' 'z-a' 1", 3},
    };
    for (const Row& r : rows) {
        TSchemeHighlighter h;
        int kind = -1;
        try {
            h.CompileScript(r.script);
        } catch (const ESYM_COMP_ERROR&) {
            kind = 0;
        } catch (const EKeywords&) {
            kind = 2;
        } catch (const ESyntaxMemo&) {
            kind = 1;
        } catch (const Exception&) {
            kind = 3;
        }
        EXPECT_EQ(r.kind, kind) << "row: " << r.name;
    }
}

TEST(SchemeCompiler, ScriptFileWithAngleInclude) {
    TSchemeHighlighter h;
    EXPECT_FALSE(h.CompileScriptFile(std::string(SCHEME_FIXTURES) + "/missing.sch"));
    EXPECT_TRUE(h.CompileScriptFile(std::string(SCHEME_FIXTURES) + "/withinclude.sch"));
    EXPECT_EQ("Included", h.LanguageSettings.LanguageName);
    EXPECT_EQ("2:3", ScanText(h, "ini"));
}
