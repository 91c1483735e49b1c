#include "Dialogs.h"

#include <memory>

#include "Form.h"
#include "StdCtrls.h"
#include "core/Prompter.h"
#include "runtime/Application.h"

void ShowMessage(const std::string& text) { Prompter().ShowMessageBox(text, Application->Title, MB_OK); }

unsigned MessageDlgFlags(TMsgDlgType type, TMsgDlgButtons b) {
    static const unsigned kIcons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};
    auto has = [b](unsigned want) { return (b & want) == want; };
    unsigned buttons = MB_OK;
    if (has(mbYes | mbNo | mbCancel)) buttons = MB_YESNOCANCEL;
    else if (has(mbYes | mbNo)) buttons = MB_YESNO;
    else if (has(mbAbort | mbRetry | mbIgnore)) buttons = MB_ABORTRETRYIGNORE;
    else if (has(mbRetry | mbCancel)) buttons = MB_RETRYCANCEL;
    else if (has(mbOK | mbCancel)) buttons = MB_OKCANCEL;
    return kIcons[type] | buttons;
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    static const char* const kCaptions[] = {"Warning", "Error", "Information", "Confirm"};
    const std::string caption = type == mtCustom ? Application->Title : kCaptions[type];
    // The platform's button numbers are the modal results.
    return Prompter().ShowMessageBox(text, caption, MessageDlgFlags(type, buttons));
}

namespace {

class TInputQueryForm : public TForm {
public:
    TInputQueryForm(const std::string& caption, const std::string& prompt, const std::string& value) {
        SetName("InputQueryForm");
        SetCaption(caption);
        SetBorderStyle(bsDialog);
        Position = poScreenCenter;
        SetBounds(0, 0, 320, 130);
        label = new TLabel(this);
        label->SetCaption(prompt);
        label->SetBounds(8, 8, 296, 16);
        edit = new TEdit(this);
        edit->SetBounds(8, 28, 296, 21);
        edit->SetText(value);
        ok = new TButton(this);
        ok->SetCaption("OK");
        ok->ModalResult = mrOk;
        ok->SetDefault(true);
        ok->SetBounds(148, 62, 75, 25);
        cancel = new TButton(this);
        cancel->SetCaption("Cancel");
        cancel->ModalResult = mrCancel;
        cancel->Cancel = true;
        cancel->SetBounds(229, 62, 75, 25);
        OnShow = [this](TObject*) {
            edit->SetFocus();
            edit->SelectAll();
        };
        // Enter and Escape in the edit answer as the buttons do.
        edit->OnKeyPress = [this](TObject*, char& key) {
            if (key == '\r') SetModalResult(mrOk);
            if (key == '\x1b') SetModalResult(mrCancel);
            if (key == '\r' || key == '\x1b') key = 0;
        };
    }
    TLabel* label;
    TEdit* edit;
    TButton *ok, *cancel;
};

}  // namespace

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    TInputQueryForm form(caption, prompt, value);
    if (form.ShowModal() != mrOk) return false;
    value = form.edit->Text();
    return true;
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue) {
    std::string value = defaultValue;
    InputQuery(caption, prompt, value);
    return value;
}
