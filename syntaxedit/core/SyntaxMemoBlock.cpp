// Block indent and un-indent of the selected lines.
#include <algorithm>

#include "CustomBookmarks.h"
#include "SM_Settings.h"
#include "SyntaxMemoCore.h"

namespace {
const int32_t kGroupIndent = 17, kGroupUnindent = 18;
bool IsIndentBlank(char c) { return c == ' ' || c == '\t' || static_cast<uint8_t>(c) == 160; }
}  // namespace

int32_t TSyntaxMemoCore::IndentStep() const { return settings_->IndentStep; }

void TSyntaxMemoCore::SetIndentStep(int32_t value) {
    if (value >= 1 && value <= 19) settings_->IndentStep = value;
}

void TSyntaxMemoCore::IndentBlock(int32_t count, bool useTab) { ShiftBlock(count, true, useTab); }
void TSyntaxMemoCore::UnindentBlock(int32_t count) { ShiftBlock(count, false, false); }

// Each line of the selection changes at its start through the store; the
// selection, marks and bookmarks follow, and the whole is one undo group.
void TSyntaxMemoCore::ShiftBlock(int32_t count, bool indent, bool useTab) {
    int32_t n = count > 0 ? count : IndentStep();
    if (n < 1 || anchor_ == caret_ || store_.LineCount() == 0) return;
    std::string blanks(static_cast<size_t>(n), useTab && (Options() & smoUseTAB) ? '\t' : ' ');
    bool backwards = anchor_ > caret_;
    auto sel = OrderPair({anchor_, caret_});
    int32_t from = LineOfOffset(sel.first);
    if (indent) from = store_.LogicalLineStart(from);
    int32_t to = LineOfOffset(sel.second);
    int32_t group = indent ? kGroupIndent : kGroupUnindent;
    bool record = !ReadOnly && undo_.Logging() && !undo_.Replaying() && !undo_.TransactionOpen();
    bool was = redraw_;
    redraw_ = false;
    bool opened = false;
    for (int32_t line = from; line <= to && line < store_.LineCount(); line++) {
        int32_t start = 0;
        TLineNode* node = store_.LineAt(line, &start);
        if (node->GutterMarks & gmContinuation) {
            // A wrapped piece moves with its line's first piece.
            if (indent) {
                delete[] node->Styles;
                node->Styles = nullptr;
                node->Flags |= lfRepaint | lfChanged;
            }
            continue;
        }
        int32_t k = 0;
        if (!indent) {
            while (k < n && k < node->Len && IsIndentBlank(node->Text[k])) k++;
            if (k == 0) continue;  // also an empty line
        }
        if (!opened && record) undo_.OpenGroup(group);
        if (!opened && !record && !undo_.Replaying() && !undo_.TransactionOpen()) undo_.Forget();
        opened = true;
        changeFlags_ |= 1 | 2;
        int32_t before = store_.LineCount();
        if (indent) {
            bookmarks_->TextInserted(n, start);
            marks_.TextInserted(start, n);
            if (record) undo_.RecordIndent(start, blanks);
            store_.InsertText(start, blanks);
            if (sel.first > start) sel.first += n;
            sel.second += n;
        } else {
            std::string removed(node->Text, static_cast<size_t>(k));
            bookmarks_->TextDeleted(k, start);
            marks_.TextDeleted(start, start + k);
            if (record) undo_.RecordUnindent(start, removed);
            store_.DeleteText(start, start + k);
            // Ends inside the removed blanks land on the line start.
            auto map = [start, k](int32_t v) { return v <= start ? v : v >= start + k ? v - k : start; };
            sel.first = map(sel.first);
            sel.second = map(sel.second);
        }
        to += store_.LineCount() - before;  // a full line may have been cut anew
        if (OnTextChange) OnTextChange(start, indent ? n : -k);
    }
    redraw_ = was;
    if (!opened) return;
    if (Options() & smoWordWrap) RewrapRange(store_.LogicalLineStart(from), LineOfOffset(sel.second));
    if (backwards) SetSelection(sel.second, sel.first, false);
    else SetSelection(sel.first, sel.second, false);
    ScrollIntoView(backwards ? anchor_ : caret_);
    if (record) undo_.CloseGroup(group);
    SetRedraw(redraw_);
}
