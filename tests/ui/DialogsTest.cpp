// Message boxes through the scripted prompter, the input box through the
// scripted modal runner, typed into by messages.
#include <gtest/gtest.h>

#include "ScriptedModalRunner.h"
#include "ScriptedPrompter.h"
#include "runtime/Application.h"
#include "ui/Dialogs.h"
#include "ui/StdCtrls.h"

namespace {

class TitleFixture : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = Application->Title;
        Application->Title = "Velmora Larch FTP";
    }
    void TearDown() override { Application->Title = saved_; }
    std::string saved_;
};

TEdit* EditOf(TForm& form) {
    for (int i = 0; i < form.ControlCount(); ++i)
        if (auto* e = dynamic_cast<TEdit*>(form.Controls(i))) return e;
    return nullptr;
}

void Type(TEdit& e, const std::string& text) {
    for (char c : text) SendMessageA(e.Handle(), WM_CHAR, static_cast<unsigned char>(c), 0);
}

}  // namespace

using Dialogs = TitleFixture;

TEST_F(Dialogs, ShowMessageKeepsTheTextAndTakesTheTitle) {
    TScriptedPrompter prompter;
    prompter.AnswerMessage(IDOK);
    ShowMessage("This extension is not a Ascii Text type.");
    ASSERT_EQ(prompter.Log().size(), 1u);
    EXPECT_EQ(prompter.Log()[0].Text, "This extension is not a Ascii Text type.");
    EXPECT_EQ(prompter.Log()[0].Caption, "Velmora Larch FTP");
    EXPECT_EQ(prompter.Log()[0].Flags, static_cast<unsigned>(MB_OK));
}

TEST_F(Dialogs, MessageDlgCaptionsButtonsAndAnswers) {
    struct Row {
        const char* name;
        TMsgDlgType type;
        TMsgDlgButtons buttons;
        int answer;
        const char* caption;
        unsigned flags;
    } rows[] = {
        {"confirm yes/no", mtConfirmation, mbYes | mbNo, IDNO, "Confirm", MB_ICONQUESTION | MB_YESNO},
        {"warning yes/no/cancel", mtWarning, mbYes | mbNo | mbCancel, IDCANCEL, "Warning", MB_ICONWARNING | MB_YESNOCANCEL},
        {"error ok", mtError, mbOK, IDOK, "Error", MB_ICONERROR | MB_OK},
        {"information ok/cancel", mtInformation, mbOK | mbCancel, IDOK, "Information", MB_ICONINFORMATION | MB_OKCANCEL},
        {"custom abort/retry/ignore", mtCustom, mbAbort | mbRetry | mbIgnore, IDRETRY, "Velmora Larch FTP",
         MB_ABORTRETRYIGNORE},
        {"retry/cancel", mtError, mbRetry | mbCancel, IDCANCEL, "Error", MB_ICONERROR | MB_RETRYCANCEL},
        {"no buttons shows OK", mtWarning, 0, IDOK, "Warning", MB_ICONWARNING | MB_OK},
    };
    for (const Row& r : rows) {
        TScriptedPrompter prompter;
        prompter.AnswerMessage(r.answer);
        EXPECT_EQ(MessageDlg("Save changes ?", r.type, r.buttons), r.answer) << r.name;
        ASSERT_EQ(prompter.Log().size(), 1u) << r.name;
        EXPECT_EQ(prompter.Log()[0].Caption, r.caption) << r.name;
        EXPECT_EQ(prompter.Log()[0].Flags, r.flags) << r.name;
        EXPECT_EQ(prompter.Log()[0].Text, "Save changes ?") << r.name;
    }
    EXPECT_EQ(mrNo, IDNO) << "answers are modal results";
}

TEST_F(Dialogs, InputQueryReturnsTheTypedLineOnEnter) {
    TScriptedModalRunner runner;
    runner.Expect("InputQueryForm", [](TForm& form) {
        EXPECT_EQ(form.Caption(), "Velmora Larch FTP");
        TEdit* edit = EditOf(form);
        ASSERT_NE(edit, nullptr);
        Type(*edit, "readme.htm\r");
    });
    std::string value;
    EXPECT_TRUE(InputQuery(Application->Title, "Enter new text extension:", value));
    EXPECT_EQ(value, "readme.htm");
    EXPECT_TRUE(runner.AllUsed());
}

TEST_F(Dialogs, InputQueryCancelledKeepsTheValue) {
    TScriptedModalRunner runner;
    runner.Expect("InputQueryForm", [](TForm& form) {
        TEdit* edit = EditOf(form);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->Text(), "preset");
        Type(*edit, "x\x1b");
    });
    runner.Expect("InputQueryForm", [](TForm& form) { Type(*EditOf(form), "\x1b"); });
    std::string value = "preset";
    EXPECT_FALSE(InputQuery("Add", "Enter new text extension:", value));
    EXPECT_EQ(value, "preset");
    EXPECT_EQ(InputBox("Add", "Name:", "default"), "default");
}
