// SMM_FIND and SMM_FINDDIALOG of the editor control: the direct search and
// the modeless find and replace dialogs, both run through TFindReplace.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "FindDialog.h"
#include "SyntaxMemoSeam.h"

const uint32_t SMM_FIND = 3083;
const uint32_t SMM_FINDDIALOG = 3084;

// Asks whichever prompter is in force when a question comes up, so a
// prompter installed after the control was made is the one that answers.
// The platform's boxes have no All button: the replace question is then
// asked with a form of our own.
class TFindPrompter : public TPrompter {
public:
    explicit TFindPrompter(std::function<TForm*()> dialog) : dialog_(std::move(dialog)) {}
    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    bool OpenFileDialog(TFileDialogRequest& r) override { return Prompter().OpenFileDialog(r); }
    bool SaveFileDialog(TFileDialogRequest& r) override { return Prompter().SaveFileDialog(r); }
    bool ColorDialog(uint32_t& color) override { return Prompter().ColorDialog(color); }
    bool PrintDialog(TPrintRequest& r) override { return Prompter().PrintDialog(r); }

private:
    std::function<TForm*()> dialog_;
};

class TSyntaxMemoFind : public TMemoEditSeam<TSearchEditor> {
public:
    TSyntaxMemoFind(TSyntaxMemoCore& core, TSyntaxMemoView& view);
    ~TSyntaxMemoFind() override;

    // SMM_FIND (flags, zero-terminated text or 0) and SMM_FINDDIALOG (flags;
    // lParam is ignored).
    intptr_t Message(uint32_t msg, uintptr_t flags, intptr_t text);
    // The open find or replace dialog, or null.
    TFindDialog* Dialog() { return dialog_.get(); }
    TFindReplace& Driver() { return driver_; }

    // Reports a failed search; false (or unset): the "not found." box.
    std::function<bool(const std::string&)> OnSearchFail;

    // TSearchEditor
    TTextStore& Store() override { return core_.Store(); }
    bool SearchFailHandled(const std::string& searchString) override;
    void Changed() override { core_.Change(); }
    void Beep() override { MessageBeep(MB_OK); }

private:
    void OpenDialog(uint32_t flags, const std::string& text, bool replace);

    TFindPrompter prompter_;
    TFindReplace driver_;
    std::unique_ptr<TFindDialog> dialog_;
};
