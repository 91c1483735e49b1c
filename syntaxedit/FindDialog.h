// The editor's modeless find and replace dialogs: they gather a find request
// and raise events; the control runs them through TFindReplace.
#pragma once

#include <functional>
#include <string>

#include "core/FindReplace.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

class TFindDialog : public TForm {
public:
    explicit TFindDialog(TForm* owner = nullptr, bool withReplace = false);

    // The request the dialog's fields describe (regular expression as opened).
    TFindRequest Request() const;
    // Opens with a text and the flags of SMM_FIND / SMM_FINDDIALOG.
    void Open(const std::string& text, uint32_t flags);

    std::function<void(TFindDialog&)> OnFind;
    // all: "Replace All"; otherwise one confirmed run.
    std::function<void(TFindDialog&, bool all)> OnReplace;
    // Replace asks to find the next occurrence before replacing.
    bool ReplaceFindsNext = false;

    TEdit* FindText;
    TEdit* ReplaceText = nullptr;
    TCheckBox* MatchCase;
    TCheckBox* WholeWord;
    TRadioButton* Up;
    TRadioButton* Down;
    TButton* FindNext;
    TButton* Replace = nullptr;
    TButton* ReplaceAll = nullptr;
    TButton* CancelButton;

private:
    bool regExpr_ = false;
};

// The replace dialog: the find dialog with a replace field and buttons.
class TReplaceDialog : public TFindDialog {
public:
    explicit TReplaceDialog(TForm* owner = nullptr) : TFindDialog(owner, true) {}
};

// The question asked before each confirmed replacement: Yes, No, Cancel and
// All (a message box has no All button).
class TReplaceQuestion : public TForm {
public:
    explicit TReplaceQuestion(const std::string& text, TForm* owner = nullptr);

    TLabel* Question;
    TButton* Yes;
    TButton* No;
    TButton* CancelButton;
    TButton* All;
};

// Asks modally, placed 10 pixels left of and above owner when given; the
// answer as a modal result (mrYes, mrNo, mrCancel, mrAll).
int AskReplaceQuestion(const std::string& text, TForm* owner);
