// A window-free stand-in for the editor control in tests: a text store with a
// selection, bookmarks and an undo recorder, edited the way the control edits
// (select a range, replace it).
#pragma once

#include <algorithm>
#include <string>

#include "CustomBookmarks.h"
#include "LineNode.h"
#include "TextStore.h"
#include "UndoRecorder.h"

class TEditModel : public TUndoTarget {
public:
    TTextStore Store;
    TCustomBookmarks Bookmarks;
    TUndoRecorder Undo{*this};
    int32_t Anchor = 0, Caret = 0;
    int Beeps = 0;

    std::string Text() { return Store.GetText(); }

    void Select(int32_t anchor, int32_t caret) {
        Anchor = std::max(0, std::min(anchor, Store.TextLength()));
        Caret = std::max(0, std::min(caret, Store.TextLength()));
    }

    // Replaces the selection, recorded as one transaction.
    void Replace(const std::string& raw) {
        std::string text = NormalizeInsertText(raw);
        Undo.BeginReplace(text);
        auto range = OrderPair({Anchor, Caret});
        if (range.second > range.first) {
            Store.DeleteText(range.first, range.second);
            Bookmarks.TextDeleted(range.second - range.first, range.first);
        }
        if (!text.empty()) {
            Store.InsertText(range.first, text);
            Bookmarks.TextInserted(static_cast<int32_t>(text.size()), range.first);
        }
        Anchor = Caret = range.first + static_cast<int32_t>(text.size());
        Undo.Commit(TUndoRecorder::ucReplace);
    }

    void Type(const std::string& s) {
        Select(Caret, Caret);
        Replace(s);
    }

    void UndoGetSelection(int32_t& anchor, int32_t& caret) override {
        anchor = Anchor;
        caret = Caret;
    }
    void UndoSetSelection(int32_t anchor, int32_t caret) override { Select(anchor, caret); }
    std::string UndoSelectedText() override {
        auto r = OrderPair({Anchor, Caret});
        return Store.GetText(r.first, r.second);
    }
    void UndoReplaceSelection(const std::string& text) override { Replace(text); }
    void UndoInsertStream(TStream& s) override {
        std::string text(static_cast<size_t>(s.Size() - s.Position()), '\0');
        if (!text.empty()) s.ReadBuffer(&text[0], static_cast<int32_t>(text.size()));
        Replace(text);
    }
    void UndoBeep() override { Beeps++; }
};
