// Find and replace on the real control: SMM_FIND, SMM_FINDDIALOG and the
// dialogs' buttons, with questions answered by the scripted prompter.
#include <gtest/gtest.h>

#include <vector>

#include "MemoWindow.h"
#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"
#include "SyntaxMemo.h"
#include "SyntaxMemoFind.h"
#include "core/REParser.h"
#include "ui/Form.h"

namespace {

void Click(TButton* b) { SendMessageA(b->Handle(), BM_CLICK, 0, 0); }
void Type(TEdit* e, const std::string& text) {
    SendMessageA(e->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

struct FindForm : MemoWindow {
    using MemoWindow::MemoWindow;
    intptr_t Find(uint32_t flags, const char* text) {
        return memo->Perform(SMM_FIND, flags, reinterpret_cast<LPARAM>(text));
    }
    // Opens the replace dialog and types the find and replace texts.
    TFindDialog& Replace(const std::string& find, const std::string& with, uint32_t flags = 0) {
        memo->Perform(SMM_FINDDIALOG, flags, 0);
        TFindDialog* d = memo->Search().Dialog();
        Type(d->FindText, find);
        Type(d->ReplaceText, with);
        return *d;
    }
};

using Pair = std::pair<int32_t, int32_t>;

}  // namespace

TEST(SyntaxMemoFind, FindNextTwiceThroughTheDialog) {
    FindForm f("cat and cat and dog");
    TScriptedPrompter prompter;
    f.Find(0, "cat");
    TFindDialog* d = f.memo->Search().Dialog();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->ReplaceText, nullptr);  // the find dialog
    EXPECT_TRUE(IsWindowVisible(d->Handle()));
    EXPECT_EQ(d->FindText->Text(), "cat");
    EXPECT_FALSE(f.memo->Core().HideSelection);
    Click(d->FindNext);
    EXPECT_EQ(f.Sel(), Pair(0, 3));
    // The second press finds the next one, not the selection again.
    Click(d->FindNext);
    EXPECT_EQ(f.Sel(), Pair(8, 11));
    prompter.AnswerMessage(IDOK);
    Click(d->FindNext);
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_EQ(prompter.Log()[0].Text, "Search string \"cat\" not found.");
    EXPECT_EQ(f.Sel(), Pair(8, 11));
    // Upwards from there.
    SendMessageA(d->Up->Handle(), BM_CLICK, 0, 0);
    Click(d->FindNext);
    EXPECT_EQ(f.Sel(), Pair(0, 3));
}

TEST(SyntaxMemoFind, DialogTakesTheWholeSelectionAndOneDialogAtATime) {
    std::string longWord(120, 'x');
    FindForm f("a " + longWord + " b");
    f.Select(2, 2 + 120);
    f.Find(sfMatchCase, nullptr);
    TFindDialog* d = f.memo->Search().Dialog();
    EXPECT_EQ(d->FindText->Text(), longWord);  // not cut to 80
    EXPECT_TRUE(d->MatchCase->Checked());
    // The replace dialog replaces the find dialog; a regular expression opens empty.
    f.memo->Perform(SMM_FINDDIALOG, sfRegExpr, 0);
    TFindDialog* r = f.memo->Search().Dialog();
    ASSERT_NE(r->ReplaceText, nullptr);
    EXPECT_EQ(r->FindText->Text(), "");
    EXPECT_TRUE(r->Request().RegExpr);
}

TEST(SyntaxMemoFind, BackwardsFromOffsetZeroFailsWithoutSearching) {
    FindForm f("cat cat");
    TScriptedPrompter prompter;
    f.Select(0, 0);
    EXPECT_EQ(f.Find(sfFindAtOnce | sfBackward, "cat"), -1);
    EXPECT_TRUE(prompter.Log().empty());
    // Through the dialog the failure is reported; OnSearchFail takes it instead of the box.
    std::vector<std::string> fails;
    f.memo->OnSearchFail = [&](TObject*, const std::string& s) { fails.push_back(s); };
    f.Find(sfBackward, "cat");
    Click(f.memo->Search().Dialog()->FindNext);
    EXPECT_EQ(fails, std::vector<std::string>{"cat"});
    EXPECT_TRUE(prompter.Log().empty());
}

TEST(SyntaxMemoFind, DirectSearchFlags) {
    struct Case {
        const char* text;
        Pair sel;
        uint32_t flags;
        const char* find;
        intptr_t result;
    } const cases[] = {
        {"Cat cat", {0, 0}, 0, "cat", 0},
        {"Cat cat", {0, 0}, sfMatchCase, "cat", 4},
        {"concat cat", {0, 0}, sfWholeWord, "cat", 7},
        {"concat cat", {0, 0}, 0, "cat", 3},
        {"cat dog cat", {11, 11}, sfBackward, "cat", 8},
        {"cat dog cat", {7, 7}, sfBackward, "cat", 0},
        {"cat dog", {7, 7}, 0, "cat", -1},       // forwards from the text end
        {"cat dog", {0, 0}, 0, "", -1},          // no text
        {"cat dog", {0, 0}, 0, "bird", -1},
        {"", {0, 0}, 0, "x", -1},                // empty document
    };
    for (const Case& c : cases) {
        FindForm f(c.text);
        f.Select(c.sel.first, c.sel.second);
        EXPECT_EQ(f.Find(sfFindAtOnce | c.flags, c.find), c.result) << c.text << " / " << c.find;
        // A plain search leaves the selection as it was.
        EXPECT_EQ(f.Sel(), c.sel) << c.text;
    }
    // A regular expression answers with the parser and selects the match.
    FindForm f("id = 42;");
    intptr_t r = f.Find(sfFindAtOnce | sfRegExpr, "[0-9]+");
    EXPECT_EQ(r, reinterpret_cast<intptr_t>(&f.memo->Search().Driver().Parser()));
    EXPECT_EQ(f.Sel(), Pair(5, 7));
    EXPECT_EQ(f.Find(sfFindAtOnce | sfRegExpr, "zz"), -1);
}

TEST(SyntaxMemoFind, BadPatternIsReportedWithTheCaret) {
    FindForm f("abc");
    TScriptedPrompter prompter;
    prompter.AnswerMessage(IDOK);
    EXPECT_EQ(f.Find(sfFindAtOnce | sfRegExpr, "a[b"), -1);
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_NE(prompter.Log()[0].Text.find("a[b"), std::string::npos);
    EXPECT_NE(prompter.Log()[0].Text.find('^'), std::string::npos);
}

TEST(SyntaxMemoFind, ReplaceYesNoCancel) {
    FindForm f("a a a a");
    TScriptedPrompter prompter;
    TFindDialog& d = f.Replace("a", "b");
    prompter.AnswerMessage(IDYES);
    prompter.AnswerMessage(IDNO);
    prompter.AnswerMessage(IDCANCEL);
    Click(d.Replace);
    EXPECT_EQ(f.Text(), "b a a a");
    ASSERT_EQ(prompter.Log().size(), 3u);
    EXPECT_EQ(prompter.Log()[0].Text, "Replace this occurence of 'a' with 'b' ?");
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST(SyntaxMemoFind, ReplaceYesThenAllUndoesInTwoSteps) {
    FindForm f("a a a a");
    TScriptedPrompter prompter;
    TFindDialog& d = f.Replace("a", "bb");
    prompter.AnswerMessage(IDYES);
    prompter.AnswerMessage(mrAll);
    prompter.AnswerMessage(IDOK);
    Click(d.Replace);
    EXPECT_EQ(f.Text(), "bb bb bb bb");
    // Nothing asked after All; the run ends with the not-found notice.
    ASSERT_EQ(prompter.Log().size(), 3u);
    EXPECT_EQ(prompter.Log()[2].Text, "Search string \"a\" not found.");
    f.Undo();  // the run after All
    EXPECT_EQ(f.Text(), "bb a a a");
    f.Undo();
    EXPECT_EQ(f.Text(), "a a a a");
}

TEST(SyntaxMemoFind, ReplaceAllIsOneUndoStep) {
    struct Case {
        const char* text;
        const char* find;
        const char* with;
        uint32_t flags;
        const char* after;
    } const cases[] = {
        {"cat dog cat\r\ncat", "cat", "concat", 0, "concat dog concat\r\nconcat"},  // contains the word
        {"ab xab", "ab", "%2%1", sfRegExpr, "ba xba"},
        {"ab xab", "ab", "%1%2", sfRegExpr, "ab xab"},
        {"Word word WORD", "word", "w", sfMatchCase, "Word w WORD"},
        {"cat concat", "cat", "dog", sfWholeWord, "dog concat"},
    };
    for (const Case& c : cases) {
        FindForm f(c.text);
        TScriptedPrompter prompter;
        TFindDialog& d = f.Replace(c.find, c.with, c.flags);
        UpdateWindow(f.memo->Handle());
        Click(d.ReplaceAll);
        EXPECT_EQ(f.Text(), c.after) << c.text;
        // The edits were made without a repaint each: the run asks for one.
        EXPECT_TRUE(GetUpdateRect(f.memo->Handle(), nullptr, FALSE)) << c.text;
        EXPECT_TRUE(prompter.Log().empty()) << c.text;
        f.Undo();
        EXPECT_EQ(f.Text(), c.text) << c.text;
    }
}

TEST(SyntaxMemoFind, ReplaceQuestionFormOffersAll) {
    FindForm f("a a a");
    std::vector<std::string> fails;
    f.memo->OnSearchFail = [&](TObject*, const std::string& s) { fails.push_back(s); };
    TScriptedModalRunner runner;
    TFindDialog& d = f.Replace("a", "b");
    RECT dr;
    GetWindowRect(d.Handle(), &dr);
    auto answer = [&](TButton* TReplaceQuestion::*button) {
        return [&, button](TForm& form) {
            auto& q = static_cast<TReplaceQuestion&>(form);
            EXPECT_EQ(q.Question->Caption(), "Replace this occurence of 'a' with 'b' ?");
            for (TButton* b : {q.Yes, q.No, q.CancelButton, q.All}) EXPECT_TRUE(IsWindowVisible(b->Handle()));
            RECT qr;
            GetWindowRect(q.Handle(), &qr);
            EXPECT_EQ(qr.left, dr.left - 10);
            EXPECT_EQ(qr.top, dr.top - 10);
            Click(q.*button);
        };
    };
    runner.Expect("dlgReplaceQuestion", answer(&TReplaceQuestion::No));
    runner.Expect("dlgReplaceQuestion", answer(&TReplaceQuestion::All));
    Click(d.Replace);
    EXPECT_TRUE(runner.AllUsed());
    EXPECT_EQ(f.Text(), "a b b");
    EXPECT_EQ(fails, std::vector<std::string>{"a"});
}

TEST(SyntaxMemoFind, ReadOnlyControlIsNotReplacedIn) {
    FindForm f("cat cat");
    f.memo->SetReadOnly(true);
    TScriptedPrompter prompter;
    TFindDialog& d = f.Replace("cat", "dog");
    Click(d.ReplaceAll);
    Click(d.Replace);
    EXPECT_EQ(f.Text(), "cat cat");
    EXPECT_TRUE(prompter.Log().empty());
    Click(d.FindNext);  // finding still works
    EXPECT_EQ(f.Sel(), Pair(0, 3));
}

TEST(SyntaxMemoFind, LongSearchTextsAreSearchedWholeOrRefused) {
    // Plain: 100 characters whose first 79 match are no match.
    std::string head(99, 'q');
    FindForm f(head + "x");
    TScriptedPrompter prompter;
    EXPECT_EQ(f.Find(sfFindAtOnce, (head + "y").c_str()), -1);
    EXPECT_EQ(f.Find(sfFindAtOnce, (head + "x").c_str()), 0);
    EXPECT_TRUE(prompter.Log().empty());
    // A regular expression past the position log is refused with the engine's error.
    std::string longHead(299, 'q');
    FindForm g(longHead + "x");
    prompter.AnswerMessage(IDOK);
    EXPECT_EQ(g.Find(sfFindAtOnce | sfRegExpr, (longHead + "y").c_str()), -1);
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_EQ(prompter.Log()[0].Text.rfind("Index range error", 0), 0u);
}

// SMM_FINDDIALOG carries only flags: whatever lParam holds is not read, and
// the dialog opens with the selected text.
TEST(SyntaxMemoFind, ReplaceDialogMessageIgnoresLParam) {
    FindForm f("cat dog");
    f.Select(4, 7);
    for (LPARAM l : {LPARAM(1), LPARAM(0x1234), reinterpret_cast<LPARAM>("bird")}) {
        f.memo->Perform(SMM_FINDDIALOG, sfMatchCase, l);
        TFindDialog* d = f.memo->Search().Dialog();
        ASSERT_NE(d, nullptr);
        ASSERT_NE(d->ReplaceText, nullptr);
        EXPECT_EQ(d->FindText->Text(), "dog") << l;
        EXPECT_TRUE(d->MatchCase->Checked()) << l;
    }
}

// Upwards by regular expression through the dialog: each occurrence once,
// the replacement never offered again.
TEST(SyntaxMemoFind, ReplaceUpwardsByRegularExpression) {
    struct Case {
        const char* name;
        std::vector<int> answers;
        const char* after;
    } const cases[] = {
        {"yes", {IDYES, IDYES, IDOK}, "xaaxaa"},
        {"no", {IDNO, IDNO, IDOK}, "xaxa"},
        {"all", {mrAll, IDOK}, "xaaxaa"},
    };
    for (const Case& c : cases) {
        FindForm f("xaxa");
        f.Select(4, 4);
        TScriptedPrompter prompter;
        TFindDialog& d = f.Replace("a", "aa", sfRegExpr | sfBackward);
        for (int a : c.answers) prompter.AnswerMessage(a);
        Click(d.Replace);
        EXPECT_EQ(f.Text(), c.after) << c.name;
        EXPECT_TRUE(prompter.AllAnswersUsed()) << c.name;
        EXPECT_EQ(prompter.Log().back().Text, "Search string \"a\" not found.") << c.name;
    }
}
