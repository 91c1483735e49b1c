#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FakeSearchEditor.h"
#include "FindReplace.h"

namespace {

struct FindReplaceFixture : ::testing::Test {
    TFakePrompter prompter;
    TFindRequest Plain(const std::string& text, bool down = true) {
        TFindRequest r;
        r.Text = text;
        r.Down = down;
        return r;
    }
};

TEST_F(FindReplaceFixture, FindNextTwiceFindsTheNextOccurrence) {
    TFakeSearchEditor ed("one cat, two cat, three cat");
    TFindReplace fr(ed, prompter);
    ASSERT_TRUE(fr.FindNext(Plain("cat")));
    EXPECT_EQ(ed.selStart_, 4);
    EXPECT_EQ(ed.selEnd_, 7);
    ASSERT_TRUE(fr.FindNext(Plain("cat")));
    EXPECT_EQ(ed.selStart_, 13);
    ASSERT_TRUE(fr.FindNext(Plain("cat")));
    EXPECT_EQ(ed.selStart_, 24);
    EXPECT_FALSE(fr.FindNext(Plain("cat")));
    EXPECT_EQ(ed.fails_, std::vector<std::string>{"cat"});
}

TEST_F(FindReplaceFixture, BackwardsFromOffsetZeroFailsWithoutSearching) {
    TFakeSearchEditor ed("cat cat");
    ed.handleFails_ = false;
    TFindReplace fr(ed, prompter);
    EXPECT_FALSE(fr.FindNext(Plain("cat", false)));
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0], "Search string \"cat\" not found.");
    EXPECT_EQ(fr.FindDirect(sfFindAtOnce | sfBackward, "cat"), -1);
}

TEST_F(FindReplaceFixture, BackwardsFindsThePreviousOccurrence) {
    TFakeSearchEditor ed("cat dog cat dog");
    ed.SetSelection(15, 15);
    TFindReplace fr(ed, prompter);
    ASSERT_TRUE(fr.FindNext(Plain("dog", false)));
    EXPECT_EQ(ed.selStart_, 12);
    ASSERT_TRUE(fr.FindNext(Plain("dog", false)));
    EXPECT_EQ(ed.selStart_, 4);
}

TEST_F(FindReplaceFixture, OptionsTable) {
    struct Row {
        const char* name;
        const char* text;
        const char* find;
        uint32_t flags;
        int32_t expected;
    } rows[] = {
        {"case off", "xx Word word", "word", sfFindAtOnce, 3},
        {"case on", "xx Word word", "word", sfFindAtOnce | sfMatchCase, 8},
        {"whole word skips part", "password word", "word", sfFindAtOnce | sfWholeWord, 9},
        {"not whole word finds part", "password word", "word", sfFindAtOnce, 4},
        {"regex", "ab a12 b", "a[0-9]+", sfFindAtOnce | sfRegExpr, 3},
        {"missing", "abc", "zz", sfFindAtOnce, -1},
        {"empty text", "abc", "", sfFindAtOnce, -1},
    };
    for (const Row& row : rows) {
        TFakeSearchEditor ed(row.text);
        TFindReplace fr(ed, prompter);
        EXPECT_EQ(fr.FindDirect(row.flags, row.find), row.expected) << row.name;
    }
}

TEST_F(FindReplaceFixture, LongSearchTextIsNotCut) {
    std::string longWord(100, 'a');
    std::string text = longWord.substr(0, 79) + "b " + longWord;
    TFakeSearchEditor ed(text);
    TFindReplace fr(ed, prompter);
    // A 79-character prefix at 0 must not count as a match of all 100.
    EXPECT_EQ(fr.FindDirect(sfFindAtOnce, longWord), 81);
    ed.SetSelection(81, 181);
    EXPECT_EQ(fr.DialogText(0, ""), longWord);
    EXPECT_EQ(fr.DialogText(sfRegExpr, ""), "");
    EXPECT_EQ(fr.DialogText(0, "given"), "given");
}

TEST_F(FindReplaceFixture, ReplaceAnswersYesNoCancel) {
    TFakeSearchEditor ed("a cat, a cat, a cat, a cat");
    TFindReplace fr(ed, prompter);
    TFindRequest r = Plain("cat");
    r.ReplaceText = "dog";
    prompter.answers = {idFindYes, idFindNo, idFindYes, idFindCancel};
    EXPECT_EQ(fr.Replace(r, false), TFindReplace::rrCancelled);
    EXPECT_EQ(ed.Text(), "a dog, a cat, a dog, a cat");
    ASSERT_EQ(prompter.asked.size(), 4u);
    EXPECT_EQ(prompter.asked[0], "Replace this occurence of 'cat' with 'dog' ?");
    EXPECT_TRUE(ed.fails_.empty());
}

TEST_F(FindReplaceFixture, ReplaceAllAnswerDoesTheRestInOneUndoStep) {
    TFakeSearchEditor ed("cat cat cat cat");
    TFindReplace fr(ed, prompter);
    TFindRequest r = Plain("cat");
    r.ReplaceText = "cats";
    prompter.answers = {idFindNo, idFindAll};
    EXPECT_EQ(fr.Replace(r, false), TFindReplace::rrDone);
    EXPECT_EQ(ed.Text(), "cat cats cats cats");
    EXPECT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(ed.groups_, std::vector<int>{ugReplaceAll});
    EXPECT_EQ(ed.depth_, 0);
    ASSERT_TRUE(ed.Undo());
    EXPECT_EQ(ed.Text(), "cat cat cat cat");
}

// A confirmed run goes on past what it replaced or passed over, upwards as
// downwards, plainly and by regular expression: each occurrence is offered
// once, and a replacement holding the searched text is never offered.
TEST_F(FindReplaceFixture, ConfirmedRunOffersEachOccurrenceOnce) {
    const std::vector<int> yes = {idFindYes, idFindYes, idFindYes}, no = {idFindNo, idFindNo, idFindNo},
                           all = {idFindAll};
    struct Row {
        const char* name;
        const char* text;
        const char* find;
        const char* with;
        bool down;
        bool regExpr;
        std::vector<int> answers;
        const char* expected;
        size_t asked;
        int edits;
    } const rows[] = {
        {"down plain yes", "xaxa", "a", "aa", true, false, yes, "xaaxaa", 2, 2},
        {"down plain no", "xaxa", "a", "aa", true, false, no, "xaxa", 2, 0},
        {"down plain all", "xaxa", "a", "aa", true, false, all, "xaaxaa", 1, 2},
        {"down regexpr yes", "xaxa", "a", "aa", true, true, yes, "xaaxaa", 2, 2},
        {"down regexpr no", "xaxa", "a", "aa", true, true, no, "xaxa", 2, 0},
        {"down regexpr all", "xaxa", "a", "aa", true, true, all, "xaaxaa", 1, 2},
        {"up plain yes", "xaxa", "a", "aa", false, false, yes, "xaaxaa", 2, 2},
        {"up plain no", "xaxa", "a", "aa", false, false, no, "xaxa", 2, 0},
        {"up plain all", "xaxa", "a", "aa", false, false, all, "xaaxaa", 1, 2},
        {"up regexpr yes", "xaxa", "a", "aa", false, true, yes, "xaaxaa", 2, 2},
        {"up regexpr no", "xaxa", "a", "aa", false, true, no, "xaxa", 2, 0},
        {"up regexpr all", "xaxa", "a", "aa", false, true, all, "xaaxaa", 1, 2},
        // Overlapping occurrences: only the first one met is offered.
        {"down plain overlap", "aaa", "aa", "b", true, false, yes, "ba", 1, 1},
        {"down regexpr overlap", "aaa", "aa", "b", true, true, yes, "ba", 1, 1},
        {"up plain overlap", "aaa", "aa", "b", false, false, yes, "ab", 1, 1},
        {"up regexpr overlap", "aaa", "aa", "b", false, true, yes, "ab", 1, 1},
    };
    for (const Row& row : rows) {
        TFakePrompter asker;
        TFakeSearchEditor ed(row.text);
        // Down from the start, up from the end.
        int32_t caret = row.down ? 0 : static_cast<int32_t>(strlen(row.text));
        ed.SetSelection(caret, caret);
        TFindReplace fr(ed, asker);
        TFindRequest r = Plain(row.find, row.down);
        r.RegExpr = row.regExpr;
        r.ReplaceText = row.with;
        asker.answers.assign(row.answers.begin(), row.answers.end());
        EXPECT_EQ(fr.Replace(r, false), TFindReplace::rrDone) << row.name;
        EXPECT_EQ(ed.Text(), row.expected) << row.name;
        EXPECT_EQ(asker.asked.size(), row.asked) << row.name;
        EXPECT_EQ(ed.edits_, row.edits) << row.name;
        // The run ends where nothing further is found.
        EXPECT_EQ(ed.fails_, std::vector<std::string>{row.find}) << row.name;
    }
}

// Replace All from the dialog's button, planned before any change: the same
// results both ways (plain Replace All always runs from the caret to the end).
TEST_F(FindReplaceFixture, ReplaceAllBothDirections) {
    struct Row {
        const char* name;
        const char* text;
        const char* find;
        const char* with;
        bool down;
        bool regExpr;
        const char* expected;
        int edits;
    } const rows[] = {
        {"down plain", "xaxa", "a", "aa", true, false, "xaaxaa", 2},
        {"down regexpr", "xaxa", "a", "aa", true, true, "xaaxaa", 2},
        {"up regexpr", "xaxa", "a", "aa", false, true, "xaaxaa", 2},
        {"down regexpr overlap", "aaa", "aa", "b", true, true, "ba", 1},
        {"up regexpr overlap", "aaa", "aa", "b", false, true, "ab", 1},
    };
    for (const Row& row : rows) {
        TFakeSearchEditor ed(row.text);
        int32_t caret = row.down ? 0 : static_cast<int32_t>(strlen(row.text));
        ed.SetSelection(caret, caret);
        TFindReplace fr(ed, prompter);
        TFindRequest r = Plain(row.find, row.down);
        r.RegExpr = row.regExpr;
        r.ReplaceText = row.with;
        EXPECT_EQ(fr.Replace(r, true), TFindReplace::rrDone) << row.name;
        EXPECT_EQ(ed.Text(), row.expected) << row.name;
        EXPECT_EQ(ed.edits_, row.edits) << row.name;
        EXPECT_EQ(ed.depth_, 0) << row.name;
    }
}

// Upwards, a regular-expression match that would start at the caret but run
// on past it lies after the caret: it is not offered.
TEST_F(FindReplaceFixture, UpwardsNothingPastTheStartIsOffered) {
    for (bool all : {false, true}) {
        TFakePrompter asker;
        TFakeSearchEditor ed("ab ab");
        ed.SetSelection(3, 3);  // before the second "ab"
        TFindReplace fr(ed, asker);
        TFindRequest r = Plain("ab", false);
        r.RegExpr = true;
        r.ReplaceText = "X";
        asker.answers = {idFindYes, idFindYes};
        EXPECT_EQ(fr.Replace(r, all), TFindReplace::rrDone) << all;
        EXPECT_EQ(ed.Text(), "X ab") << all;
    }
}

TEST_F(FindReplaceFixture, FindNextAsWellMovesOnBeforeReplacing) {
    // The first occurrence is selected by a find next beforehand.
    struct Row {
        bool findNext;
        bool all;
        std::vector<int> answers;
        const char* expected;
        TFindReplace::TReplaceResult result;
    } rows[] = {
        {false, false, {idFindYes, idFindCancel}, "dog cat cat", TFindReplace::rrCancelled},
        {true, false, {idFindYes, idFindCancel}, "cat dog cat", TFindReplace::rrCancelled},
        {false, true, {}, "dog dog dog", TFindReplace::rrDone},
        {true, true, {}, "cat dog dog", TFindReplace::rrDone},
    };
    for (const Row& row : rows) {
        TFakePrompter asker;
        TFakeSearchEditor ed("cat cat cat");
        TFindReplace fr(ed, asker);
        TFindRequest r = Plain("cat");
        ASSERT_TRUE(fr.FindNext(r));
        r.ReplaceText = "dog";
        r.FindNextFirst = row.findNext;
        asker.answers.assign(row.answers.begin(), row.answers.end());
        EXPECT_EQ(fr.Replace(r, row.all), row.result) << row.findNext << row.all;
        EXPECT_EQ(ed.Text(), row.expected) << row.findNext << row.all;
        EXPECT_TRUE(ed.fails_.empty());
    }
}

TEST_F(FindReplaceFixture, FindNextAsWellWithNothingFurtherReportsOnceAndKeepsText) {
    TFakeSearchEditor ed("cat dog");
    TFindReplace fr(ed, prompter);
    TFindRequest r = Plain("cat");
    ASSERT_TRUE(fr.FindNext(r));
    r.ReplaceText = "cow";
    r.FindNextFirst = true;
    for (bool all : {false, true}) {
        ed.fails_.clear();
        EXPECT_EQ(fr.Replace(r, all), TFindReplace::rrNotFound);
        EXPECT_EQ(ed.Text(), "cat dog");
        EXPECT_EQ(ed.fails_, std::vector<std::string>{"cat"});
        EXPECT_TRUE(prompter.asked.empty());
    }
}

TEST_F(FindReplaceFixture, ReplaceAllIsUndoneInOneStep) {
    TFakeSearchEditor ed("x word y word z word");
    TFindReplace fr(ed, prompter);
    TFindRequest r = Plain("word");
    r.ReplaceText = "a longer word";
    EXPECT_EQ(fr.Replace(r, true), TFindReplace::rrDone);
    // Every occurrence once, though the replacement holds the word.
    EXPECT_EQ(ed.Text(), "x a longer word y a longer word z a longer word");
    EXPECT_EQ(ed.edits_, 3);
    EXPECT_EQ(ed.depth_, 0);
    EXPECT_EQ(ed.selStart_, 34);
    ASSERT_TRUE(ed.Undo());
    EXPECT_EQ(ed.Text(), "x word y word z word");
    EXPECT_FALSE(ed.Undo());
}

TEST_F(FindReplaceFixture, ReplaceAllWithNoMatchReportsAndChangesNothing) {
    TFakeSearchEditor ed("abc");
    TFindReplace fr(ed, prompter);
    TFindRequest r = Plain("zz");
    EXPECT_EQ(fr.Replace(r, true), TFindReplace::rrNotFound);
    EXPECT_EQ(ed.fails_, std::vector<std::string>{"zz"});
    EXPECT_TRUE(ed.groups_.empty());
}

TEST_F(FindReplaceFixture, TemplateOrderOfTwoLiterals) {
    struct Row {
        const char* tmpl;
        const char* expected;
    } rows[] = {{"%1%2", "-ab-ab-"}, {"%2%1", "-ba-ba-"}};
    for (const Row& row : rows) {
        TFakeSearchEditor ed("-ab-ab-");
        TFindReplace fr(ed, prompter);
        TFindRequest r = Plain("ab");
        r.RegExpr = true;
        r.ReplaceText = row.tmpl;
        EXPECT_EQ(fr.Replace(r, true), TFindReplace::rrDone) << row.tmpl;
        EXPECT_EQ(ed.Text(), row.expected) << row.tmpl;
    }
}

TEST_F(FindReplaceFixture, RegExprErrorIsReportedWithCaret) {
    TFakeSearchEditor ed("abc");
    TFindReplace fr(ed, prompter);
    TFindRequest r = Plain("a(b");
    r.RegExpr = true;
    EXPECT_FALSE(fr.FindNext(r));
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_NE(prompter.asked[0].find("a(b"), std::string::npos);
    EXPECT_NE(prompter.asked[0].find('^'), std::string::npos);
}

TEST_F(FindReplaceFixture, RegExprFindNextSelectsMatch) {
    TFakeSearchEditor ed("k1 k22 k333");
    TFindReplace fr(ed, prompter);
    TFindRequest r = Plain("k[0-9]+");
    r.RegExpr = true;
    ASSERT_TRUE(fr.FindNext(r));
    EXPECT_EQ(ed.selStart_, 0);
    EXPECT_EQ(ed.selEnd_, 2);
    ASSERT_TRUE(fr.FindNext(r));
    EXPECT_EQ(ed.selStart_, 3);
    EXPECT_EQ(ed.selEnd_, 6);
}

}  // namespace
