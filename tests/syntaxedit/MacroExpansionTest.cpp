// The window-free half of templates, auto-correct and the options dialog:
// name matching at the caret, the text as it goes in, the auto-correct
// boundary rule, the settings copy and the margin rule.
#include <gtest/gtest.h>

#include "CodeTemplates.h"
#include "DropRules.h"
#include "MacroExpansion.h"
#include "OptionsModel.h"
#include "SM_Settings.h"
#include "SysUtils.h"
#include "SyntaxMemoCore.h"

namespace {

struct Editor {
    explicit Editor(const std::string& text, int32_t caret) {
        core.Message(smmsg::SetText, 0, reinterpret_cast<intptr_t>(text.c_str()));
        core.SetSelection(caret, caret);
    }
    TSyntaxMemoCore core;
};

}  // namespace

TEST(MacroExpansion, TheLongestNameEndingAtTheCaretMatchesWithoutCase) {
    TCodeTemplates t;
    t.AddTemplate("for", "", "F");
    t.AddTemplate("foreach", "", "E");
    t.AddTemplate("each", "", "H");
    struct Case {
        const char* name;
        const char* text;
        int32_t caret;
        bool found;
        const char* word;
        const char* expansion;
        int32_t start;
    } cases[] = {
        {"whole name", "x for", 5, true, "for", "F", 2},
        {"longest wins", "FOREACH", 7, true, "FOREACH", "E", 0},
        {"name at the text's start", "each", 4, true, "each", "H", 0},
        {"a prefix is no name", "fo", 2, false, "", "", 0},
        {"glued on is still a name", "xfor", 4, true, "for", "F", 1},
        {"not across lines", "for\r\n", 5, false, "", "", 0},
    };
    for (const Case& c : cases) {
        Editor e(c.text, c.caret);
        TMacroMatch m = MatchMacroAtCaret(e.core, t);
        EXPECT_EQ(m.Found, c.found) << c.name;
        EXPECT_EQ(m.Word, c.word) << c.name;
        EXPECT_EQ(m.Text, c.expansion) << c.name;
        if (c.found) {
            EXPECT_EQ(m.Start, c.start) << c.name;
        }
    }
}

TEST(MacroExpansion, TypedWordOnlyWhenTheCaretEndsAWord) {
    struct Case {
        const char* text;
        int32_t caret;
        const char* typed;
    } cases[] = {{"x Fo", 4, "fo"}, {"fo", 1, ""}, {"a, ", 3, ""}, {"ab)", 2, "ab"}};
    for (const Case& c : cases) {
        Editor e(c.text, c.caret);
        EXPECT_EQ(TypedWordBefore(e.core), c.typed) << c.text << " at " << c.caret;
    }
}

TEST(MacroExpansion, TextGetsIndentAndLosesItsFirstBar) {
    struct Case {
        const char* name;
        const char* text;
        int32_t indent;
        bool indentLines, marker;
        const char* out;
        int32_t caret;
    } cases[] = {
        {"both", "a(|)\rb|", 2, true, true, "a()\r  b|", 2},
        {"no indent", "a\rb", 0, true, true, "a\rb", -1},
        {"indent off", "a\r|b", 4, false, true, "a\rb", 2},
        {"marker off", "|x", 0, true, false, "|x", -1},
    };
    for (const Case& c : cases) {
        int32_t caret = 0;
        EXPECT_EQ(PrepareMacroText(c.text, c.indent, c.indentLines, c.marker, caret), c.out) << c.name;
        EXPECT_EQ(caret, c.caret) << c.name;
    }
}

TEST(MacroExpansion, AutoCorrectKeepsToWordBoundaries) {
    struct Case {
        const char* name;
        const char* text;
        int32_t wordStart;
        const char* word;
        const char* with;
        bool allowed;
    } cases[] = {
        {"free word", "a teh b", 2, "teh", "the", true},
        {"runs on into a word", "tehx", 0, "teh", "the", false},
        {"glued to a word before", "xteh", 1, "teh", "the", false},
        {"symbol text may follow a word", "x(c)", 1, "(c)", "\xA9", true},
    };
    for (const Case& c : cases) {
        Editor e(c.text, 0);
        EXPECT_EQ(AutoReplaceAllowed(e.core, c.wordStart, c.word, c.with), c.allowed) << c.name;
    }
}

TEST(MacroExpansion, InsertionIsOneUndoStep) {
    Editor e("x for", 5);
    InsertMacroText(e.core, 2, 5, "for ()\r  {}", 5);
    EXPECT_EQ(e.core.Store().GetText(), "x for ()\r  {}");
    EXPECT_EQ(e.core.Caret(), 7);
    e.core.Undo().Undo();
    EXPECT_EQ(e.core.Store().GetText(), "x for");
}

TEST(OptionsModel, MarginTextsKeepToZeroTo199) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {{"0", 0}, {"199", 199}, {"200", 1}, {"250", 1}, {"", 1}, {"1a", 1}, {"-5", 1}, {"0042", 1}};
    for (const Case& c : cases) EXPECT_EQ(TOptionsModel::MarginValue(c.text), c.value) << c.text;
}

TEST(OptionsModel, TypedFontSizesAreWholePointsFrom1To999) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {{"13", 13}, {" 8 ", 8}, {"1", 1}, {"999", 999}, {"0", -1}, {"", -1}, {"1000", -1}, {"1x", -1}, {"-5", -1}};
    for (const Case& c : cases) EXPECT_EQ(TOptionsModel::FontSizeValue(c.text), c.value) << "\"" << c.text << "\"";
}

TEST(OptionsModel, EditsStayInTheCopyUntilCommit) {
    TSM_Settings own;
    own.SetEditableStyle(1, {"Comment", 2});
    TOptionsModel m(own);
    m.SetOption(32, false);
    m.SetFontStyle(2, 1, true);
    m.SetColours(kElemGutter, 0, 0x123456);
    m.AddTemplate("Loop", "a loop", "do |");
    EXPECT_NE(own.Options & 32, 0);
    EXPECT_EQ(own.GetStyle(2).FontStyle, 0);
    m.Commit();
    EXPECT_EQ(own.Options & 32, 0);
    EXPECT_EQ(own.GetStyle(2).FontStyle, 1);
    EXPECT_EQ(own.GutterColor, TColor{0x123456});
    std::string text;
    EXPECT_TRUE(own.CodeTemplates->FindTemplate("loop", text));
    EXPECT_EQ(text, "do |");
}

TEST(OptionsModel, TemplateDropsTakeTheHtmlFragmentAndHandFilesOnOnly) {
    struct Case {
        const char* name;
        uint16_t offered, taken;
    } cases[] = {
        {"html", dstHtml | dstInsertAsIs | dstProcessFiles, dstHtml | dstProcessFiles | dstHtmlFragment},
        {"html from a paste", dstHtml | dstPaste | dstInsertAsIs, dstHtml | dstPaste | dstHtmlFragment},
        {"files", dstFiles | dstInsertAsIs | dstProcessFiles, dstFiles | dstProcessFiles},
        {"html before files", dstHtml | dstFiles | dstInsertAsIs, dstHtml | dstFiles | dstHtmlFragment},
        {"text stays", dstText | dstInsertAsIs | dstProcessFiles, dstText | dstInsertAsIs | dstProcessFiles},
    };
    for (const Case& c : cases) EXPECT_EQ(TOptionsModel::TemplateDropTypes(c.offered), c.taken) << c.name;
}

TEST(OptionsModel, ATokenChoosesTheElementOfItsMappedOrElseItsOwnStyle) {
    TSM_Settings own;
    own.SetEditableStyle(1, {"Keyword", 2});
    own.SetEditableStyle(2, {"Comment", 5});
    own.SetTokenMap(7, 5);  // a second comment token drawn as the first
    TOptionsModel m(own);
    const std::vector<TElementItem> elements = m.Elements();
    struct Case {
        const char* name;
        int token;
        int element;
    } cases[] = {
        {"unmapped keyword", 2, 0}, {"unmapped comment", 5, 1}, {"mapped", 7, 1},
        {"no element", 1, -1},      {"no token", 255, -1},      {"out of range", -1, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(m.ElementOfToken(elements, c.token), c.element) << c.name;
}

TEST(OptionsModel, WrapColumnAndIndentStepKeepToTheEditorsRanges) {
    struct Row {
        const char* name;
        bool wrap;      // else the indent step
        int32_t typed;
        int32_t stored;  // what the copy and the editor keep (from 0 and 1)
    } rows[] = {
        {"wrap column", true, 72, 72},      {"no wrap column", true, 0, 0},
        {"negative wrap", true, -3, 0},     {"wrap past the range", true, 70000, 0},
        {"indent step", false, 4, 4},       {"indent step 0", false, 0, 1},
        {"indent step 50", false, 50, 1},   {"indent step 19", false, 19, 19},
    };
    for (const Row& r : rows) {
        TSM_Settings own;
        TOptionsModel m(own);
        TSyntaxMemoCore preview;
        if (r.wrap) m.SetWrapAtColumn(preview, r.typed);
        else m.SetIndentStep(preview, r.typed);
        EXPECT_EQ(r.wrap ? m.WrapAtColumn() : m.IndentStep(), r.stored) << "row: " << r.name;
        EXPECT_EQ(r.wrap ? preview.WrapAtColumn() : preview.IndentStep(), r.stored) << "row: " << r.name;
    }
}

TEST(OptionsModel, TheCopyShowsTheTemplatesHotKey) {
    TSM_Settings own;
    own.CodeTemplates->HotKey = scCtrl | 'K';
    TOptionsModel m(own);
    EXPECT_EQ(m.TemplateHotKey(), scCtrl | 'K');
    m.Commit();
    EXPECT_EQ(own.CodeTemplates->HotKey, scCtrl | 'K');
}

namespace {

// Makes a distinct handle for every font, so a deleted one shows as 0.
class HandlePlatform : public TSettingsPlatform {
public:
    uintptr_t CreateStyleFont(const std::string&, int32_t, uint8_t, uint8_t, bool) override { return ++made_; }
    void DeleteStyleFont(uintptr_t) override {}
    TColor SystemColor(int index) override { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }

private:
    uintptr_t made_ = 0;
};

}  // namespace

// A copy that cannot be written (a name past its length byte, put in by hand)
// leaves the original as it was, fonts included.
TEST(OptionsModel, ACommitIsAllOrNothing) {
    HandlePlatform platform;
    SetSettingsPlatform(&platform);
    {
        TSM_Settings own;
        own.Attach();
        const int32_t options = own.Options;
        ASSERT_NE(own.Styles[0].Font, 0u);
        TOptionsModel m(own);
        m.SetOption(32, (options & 32) == 0);
        m.Copy().CodeTemplates->AddTemplate("for", "", "for");
        m.Copy().CodeTemplates->Macros->AddObject(std::string(300, 'n'), new TMacroRecord);
        EXPECT_THROW(m.Commit(), Exception);
        EXPECT_EQ(own.Options, options);
        EXPECT_NE(own.Styles[0].Font, 0u);
        EXPECT_EQ(own.CodeTemplates->Macros, nullptr);
        own.Detach();
    }
    SetSettingsPlatform(nullptr);
}

TEST(OptionsModel, PrepareCommitTellsWhyACopyCannotBeWritten) {
    TSM_Settings own;
    TOptionsModel m(own);
    EXPECT_EQ(m.PrepareCommit(), "");
    m.Copy().CodeTemplates->AddTemplate("for", "", "for");
    m.Copy().CodeTemplates->Macros->AddObject(std::string(300, 'n'), new TMacroRecord);
    EXPECT_EQ(m.PrepareCommit(), "String too long for its length byte (300 characters)");
    m.Copy().CodeTemplates->Clear();
    m.SetOption(32, false);
    EXPECT_EQ(m.PrepareCommit(), "");
    m.Commit();
    EXPECT_EQ(own.Options & 32, 0);
}
