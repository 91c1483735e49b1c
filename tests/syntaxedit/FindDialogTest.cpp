// The find and replace dialogs driven by messages, wired to the driver over
// a fake editor.
#include <gtest/gtest.h>

#include <windows.h>

#include "FakeSearchEditor.h"
#include "FindDialog.h"

namespace {

void Click(TButton& b) { SendMessageA(b.Handle(), BM_CLICK, 0, 0); }
void Type(TEdit& e, const char* text) { SendMessageA(e.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }

struct Wired {
    TFakeSearchEditor ed;
    TFakePrompter prompter;
    TFindReplace driver{ed, prompter};
    explicit Wired(const std::string& text) : ed(text) {}
    void Attach(TFindDialog& d) {
        d.OnFind = [this](TFindDialog& dlg) { driver.FindNext(dlg.Request()); };
        d.OnReplace = [this](TFindDialog& dlg, bool all) { driver.Replace(dlg.Request(), all); };
    }
};

TEST(FindDialog, FindNextTwiceThroughTheButton) {
    Wired w("cat and cat");
    TFindDialog d;
    w.Attach(d);
    d.Open(w.driver.DialogText(0, "cat"), 0);
    ASSERT_TRUE(IsWindowVisible(d.Handle()));
    Click(*d.FindNext);
    EXPECT_EQ(w.ed.selStart_, 0);
    Click(*d.FindNext);
    EXPECT_EQ(w.ed.selStart_, 8);
    EXPECT_EQ(w.ed.selEnd_, 11);
}

TEST(FindDialog, OptionsFromFlagsAndClicks) {
    Wired w("Word word");
    TFindDialog d;
    w.Attach(d);
    d.Open("word", sfMatchCase);
    EXPECT_TRUE(d.MatchCase->Checked());
    EXPECT_TRUE(d.Down->Checked());
    Click(*d.FindNext);
    EXPECT_EQ(w.ed.selStart_, 5);
    d.Open("x", sfBackward | sfRegExpr);
    EXPECT_TRUE(d.Up->Checked());
    EXPECT_FALSE(d.MatchCase->Checked());
    EXPECT_TRUE(d.Request().RegExpr);
    EXPECT_FALSE(d.Request().Down);
}

TEST(FindDialog, ReplaceAllThroughTheDialogIsOneUndoStep) {
    Wired w("a b a b a");
    TReplaceDialog d;
    w.Attach(d);
    d.Open("a", 0);
    Type(*d.ReplaceText, "aa");
    Click(*d.ReplaceAll);
    EXPECT_EQ(w.ed.Text(), "aa b aa b aa");
    ASSERT_TRUE(w.ed.Undo());
    EXPECT_EQ(w.ed.Text(), "a b a b a");
}

TEST(FindDialog, ReplaceAsksYesNoCancel) {
    Wired w("x x x");
    TReplaceDialog d;
    w.Attach(d);
    d.Open("x", 0);
    Type(*d.ReplaceText, "y");
    w.prompter.answers = {idFindNo, idFindYes, idFindCancel};
    Click(*d.Replace);
    EXPECT_EQ(w.ed.Text(), "x y x");
    EXPECT_EQ(w.prompter.asked.size(), 3u);
    Click(*d.CancelButton);
    EXPECT_FALSE(IsWindowVisible(d.Handle()));
}

TEST(FindDialog, LongSelectionFillsTheDialogWhole) {
    std::string word(200, 'q');
    Wired w(word.substr(0, 150) + "x" + word);
    w.ed.SetSelection(151, 351);
    TFindDialog d;
    w.Attach(d);
    d.Open(w.driver.DialogText(0, ""), 0);
    EXPECT_EQ(d.Request().Text, word);
    w.ed.SetSelection(0, 0);
    Click(*d.FindNext);
    // The 150-character prefix at 0 is not taken for the whole text.
    EXPECT_EQ(w.ed.selStart_, 151);
    EXPECT_EQ(w.ed.selEnd_, 351);
}

}  // namespace
