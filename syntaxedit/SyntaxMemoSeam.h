// The editing operations that find and replace and drag and drop both ask of
// the control, written once over its headless core.
#pragma once

#include <string>

#include "SyntaxMemoCore.h"

template <class Base>
class TMemoEditSeam : public Base {
public:
    TMemoEditSeam(TSyntaxMemoCore& core, TSyntaxMemoView& view) : core_(core), view_(view) {}

    void GetSelection(int32_t& start, int32_t& end) override {
        start = core_.Anchor();
        end = core_.Caret();
    }
    void SetSelection(int32_t start, int32_t end) override {
        core_.SetSelection(start, end);
        core_.ScrollIntoView(core_.Caret());
        core_.UpdateScrollBars();
    }
    void ReplaceRange(int32_t start, int32_t end, const std::string& text) override {
        core_.SetSelection(start, end, false);
        core_.InsertAtCaret(text);
        // Inside a group (replace all) the window is invalidated once at its
        // end: invalidating per edit cost most of a 100,000-edit run.
        if (core_.Undo().OpenGroupId() == 0) view_.ViewInvalidate();
    }
    void BeginUndoGroup(int group) override { core_.Undo().OpenGroup(group); }
    void EndUndoGroup() override {
        core_.Undo().CloseGroup(core_.Undo().OpenGroupId());
        view_.ViewInvalidate();
        core_.ScrollIntoView(core_.Caret());
        core_.UpdateScrollBars();
        core_.Change();
    }

protected:
    TSyntaxMemoCore& core_;
    TSyntaxMemoView& view_;
};
