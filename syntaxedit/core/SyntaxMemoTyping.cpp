// Typing into the headless editor: characters, overwrite mode, line breaks
// with auto-indent, and TAB moving to the next tab stop or to the column of
// the next word of a line above.
#include <algorithm>

#include "SyntaxMemoCore.h"

namespace {
const int32_t kGroupTyping = 12;
int32_t TextLen(const TLineNode* n) { return n ? n->Len - (n->EndsWithCR() ? 1 : 0) : 0; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
int32_t LeadingBlanks(const TLineNode* n) {
    int32_t k = 0, len = TextLen(n);
    while (k < len && IsBlank(n->Text[k])) k++;
    return k;
}
}  // namespace

std::string TSyntaxMemoCore::FillText(int32_t from, int32_t to) const {
    std::string out;
    int32_t col = from;
    if ((Options() & smoUseTAB) && (Options() & smoSmartFill)) {
        for (int32_t next = NextTabStop(col); next <= to; next = NextTabStop(col)) {
            out += '\t';
            col = next;
        }
    }
    if (to > col) out.append(static_cast<size_t>(to - col), ' ');
    return out;
}

int32_t TSyntaxMemoCore::LeadingBlanksWidth(const TLineNode* n) const { return DisplayColumn(n, LeadingBlanks(n)); }

int32_t TSyntaxMemoCore::TabTarget() {
    if (store_.LineCount() == 0) return NextTabStop(0);
    int32_t start = 0;
    TLineNode* n = store_.NodeAtOffset(caret_, &start);
    int32_t col = DisplayColumn(n, caret_ - start);
    if (Options() & smoTabToColumn) {
        for (const TLineNode* p = n->Prev; p; p = p->Prev) {
            std::string s = ExpandLine(p);
            int32_t len = static_cast<int32_t>(s.size()), i = col;
            if (len <= col) continue;  // too short: the next line up
            while (i < len && s[static_cast<size_t>(i)] != ' ') i++;
            while (i < len && s[static_cast<size_t>(i)] == ' ') i++;
            // A line whose last word ends there gives its last character's
            // column; one that would leave the caret where it is is passed over.
            int32_t target = i < len ? i : len - 1;
            if (target > col) return target;
        }
    }
    return NextTabStop(col);
}

void TSyntaxMemoCore::TabToColumn() {
    int32_t start = 0;
    TLineNode* n = store_.LineCount() ? store_.NodeAtOffset(caret_, &start) : nullptr;
    int32_t col = DisplayColumn(n, caret_ - start);
    InsertAtCaret(FillText(col, TabTarget()));
}

bool TSyntaxMemoCore::AutoIndent(int32_t& width) {
    width = 0;
    if (store_.LineCount() == 0) return true;
    int32_t start = 0;
    TLineNode* n = store_.NodeAtOffset(caret_, &start);
    int32_t k = std::min(LeadingBlanks(n), caret_ - start);
    // A line starting with its text gives no indent; an empty one gives 0.
    if (k == 0 && k < TextLen(n)) return false;
    width = DisplayColumn(n, k);
    return true;
}

bool TSyntaxMemoCore::TypeChar(char c) {
    if (ReadOnly) return false;
    uint8_t u = static_cast<uint8_t>(c);
    // Ctrl+Enter (LF) breaks the line where Enter belongs to the dialog.
    if (c == '\n') {
        if (WantReturns) return false;
        c = '\r';
    } else if (c == '\r' && !WantReturns) {
        return false;
    }
    if (c == '\t' && !WantTab) return false;
    if (c != '\r' && c != '\t' && (u < 32 || u == 127)) return false;
    const int32_t opts = Options();
    undo_.OpenGroup(kGroupTyping);
    if (c == '\t' && (!(opts & smoUseTAB) || ((opts & smoTabToColumn) && !(opts & smoWordWrap)))) {
        TabToColumn();
    } else {
        int32_t indent = 0;
        bool indented = c == '\r' && (opts & smoAutoIndent) && AutoIndent(indent);
        if (!InsertMode && anchor_ == caret_ && store_.LineCount()) {
            int32_t start = 0;
            TLineNode* n = store_.NodeAtOffset(caret_, &start);
            if (caret_ - start < TextLen(n)) SetSelection(caret_, caret_ + 1, false);
        }
        InsertAtCaret(std::string(1, c));
        int32_t line = LineOfOffset(caret_) - 1;  // the line the break ended
        if (indented && indent == 0 && line > 0) {
            // An empty line takes the indent of the nearest line above with text.
            const TLineNode* p = store_.LineAt(line - 1);
            while (p->Prev && LeadingBlanks(p) == TextLen(p)) p = p->Prev;
            indent = LeadingBlanksWidth(p);
        }
        if (indented && indent > 0) InsertAtCaret(FillText(0, indent));
    }
    undo_.CloseGroup(kGroupTyping);
    ScrollIntoView(caret_);
    changeFlags_ |= 128;
    Change();
    if (view_) view_->ViewInvalidate();
    return true;
}
