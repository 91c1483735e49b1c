// A prompter for tests: records every question and answers from a script.
// A question with no scripted answer fails the test and answers Cancel.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/core/Prompter.h"

class TScriptedPrompter : public TPrompter {
public:
    TScriptedPrompter();   // installs itself
    ~TScriptedPrompter() override;  // puts the previous prompter back

    struct Asked {
        std::string Kind;  // "MessageBox", "OpenFile", "SaveFile", "ChooseColor", "Print"
        std::string Text, Caption;
        unsigned Flags = 0;
        TFileDialogRequest File;
    };
    // Answers, consumed in order. For file dialogs a non-empty name means OK.
    void AnswerMessage(int button) { messages_.push_back(button); }
    void AnswerFile(const std::string& fileNameOrEmptyForCancel) { files_.push_back(fileNameOrEmptyForCancel); }
    void AnswerColor(bool ok, uint32_t color = 0) { colors_.push_back({ok, color}); }
    void AnswerPrint(bool ok) { prints_.push_back(ok); }

    const std::vector<Asked>& Log() const { return log_; }
    bool AllAnswersUsed() const { return messages_.empty() && files_.empty() && colors_.empty() && prints_.empty(); }

    int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    bool OpenFileDialog(TFileDialogRequest& request) override;
    bool SaveFileDialog(TFileDialogRequest& request) override;
    bool ColorDialog(uint32_t& color) override;
    bool PrintDialog(TPrintRequest& request) override;

private:
    bool File(const char* kind, TFileDialogRequest& r);
    TPrompter* previous_;
    std::deque<int> messages_;
    std::deque<std::string> files_;
    std::deque<std::pair<bool, uint32_t>> colors_;
    std::deque<bool> prints_;
    std::vector<Asked> log_;
};
