// An editor for find and replace tests: a real text store, a selection, and
// an undo log that keeps a snapshot per step (a group is one step).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "FindReplace.h"
#include "TextStore.h"

class TFakeSearchEditor : public TSearchEditor {
public:
    explicit TFakeSearchEditor(const std::string& text) { store_.InsertText(0, text); }

    TTextStore& Store() override { return store_; }
    void GetSelection(int32_t& start, int32_t& end) override {
        start = selStart_;
        end = selEnd_;
    }
    void SetSelection(int32_t start, int32_t end) override {
        selStart_ = start;
        selEnd_ = end;
    }
    void ReplaceRange(int32_t start, int32_t end, const std::string& text) override {
        if (depth_ == 0) undo_.push_back(store_.GetText());
        store_.DeleteText(start, end);
        store_.InsertText(start, text);
        edits_++;
    }
    void BeginUndoGroup(int group) override {
        if (depth_++ == 0) undo_.push_back(store_.GetText());
        groups_.push_back(group);
    }
    void EndUndoGroup() override { depth_--; }
    bool SearchFailHandled(const std::string& s) override {
        fails_.push_back(s);
        return handleFails_;
    }

    // One undo step; false when there is none.
    bool Undo() {
        if (undo_.empty()) return false;
        store_.Clear();
        store_.InsertText(0, undo_.back());
        undo_.pop_back();
        return true;
    }
    std::string Text() { return store_.GetText(); }

    TTextStore store_;
    int32_t selStart_ = 0, selEnd_ = 0;
    int depth_ = 0;
    int edits_ = 0;
    bool handleFails_ = true;
    std::vector<std::string> undo_;
    std::vector<int> groups_;
    std::vector<std::string> fails_;
};

// Answers message boxes from a script and records the questions.
class TFakePrompter : public TPrompter {
public:
    std::deque<int> answers;
    std::vector<std::string> asked;
    int ShowMessageBox(const std::string& text, const std::string&, unsigned) override {
        asked.push_back(text);
        if (answers.empty()) return 2;  // Cancel
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    bool OpenFileDialog(TFileDialogRequest&) override { return false; }
    bool SaveFileDialog(TFileDialogRequest&) override { return false; }
    bool ColorDialog(uint32_t&) override { return false; }
    bool PrintDialog(TPrintRequest&) override { return false; }
};
