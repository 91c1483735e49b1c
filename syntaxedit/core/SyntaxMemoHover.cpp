// What the mouse is over (margin lines, hyperlinks, the selection) and the
// numbered bookmarks set from a line and column.
#include <algorithm>

#include "SM_Settings.h"
#include "SyntaxMemoCore.h"
#include "SyntaxMemoErrors.h"

namespace {
// Cursor numbers as the control's Cursor property takes them.
const int32_t crDefault = 0, crArrow = -2, crIBeam = -4, crHSplit = -14;
const int32_t kShowRMargin = 32768, kShowWrapColumn = 131072;
int32_t TextLen(const TLineNode* n) { return n ? n->Len - (n->EndsWithCR() ? 1 : 0) : 0; }
}  // namespace

int32_t TSyntaxMemoCore::GuideColumnAt(int32_t x, int32_t y) {
    int32_t line = topLine_ + std::max(y, 0) / lineHeight_;
    if (line >= store_.LineCount()) return leftCol_ + std::max(x - TextLeft(), 0) / charWidth_;
    return ColumnOfX(store_.LineAt(line), x, true);
}

TSyntaxMemoCore::THover TSyntaxMemoCore::HoverAt(int32_t x, int32_t y, int32_t hyperCursor, bool dragSource) {
    THover h;
    if (x < TextLeft()) return h;  // the gutter and margin: the default cursor
    const TSM_Settings& st = *settings_;
    int32_t column = GuideColumnAt(x, y);
    int32_t start = 0;
    int32_t line = topLine_ + std::max(y, 0) / lineHeight_;
    TLineNode* n = store_.LineCount() ? store_.LineAt(std::min(line, store_.LineCount() - 1), &start) : nullptr;
    if (line >= store_.LineCount()) n = nullptr;
    int32_t shown = n ? DisplayColumn(n, TextLen(n)) : 0;
    bool onRight = (st.Options & kShowRMargin) && column == st.RightMargin;
    bool onWrap = (st.Options & smoWordWrap) && (st.Options & kShowWrapColumn) && st.WrapAtColumn >= 1 &&
                  column == st.WrapAtColumn;
    if ((onRight || onWrap) && shown < column) {
        h.Margin = true;
        h.RightMargin = onRight;
    }
    if (!h.Margin && n && n->Styles && settings_->HasHotspots()) {
        int32_t k = CharIndexOfColumn(n, column);
        // The character whose cell holds x (not the nearest boundary).
        while (k > 0 && DisplayColumn(n, k) > column) k--;
        if (k < TextLen(n) && st.Styles[n->Styles[k]].Hotspot) {
            h.Hyperlink = true;
            h.Cursor = hyperCursor;
            return h;
        }
    }
    if (h.Margin) {
        h.Cursor = crHSplit;
    } else {
        auto sel = OrderPair({anchor_, caret_});
        int32_t offset = n ? start + CharIndexOfColumn(n, column) : -1;
        h.Cursor = dragSource && sel.first < sel.second && offset >= sel.first && offset < sel.second ? crArrow : crIBeam;
    }
    (void)crDefault;
    return h;
}

bool TSyntaxMemoCore::HyperlinkAt(int32_t offset, std::string& text, uint8_t& style) {
    if (store_.LineCount() == 0) return false;
    int32_t start = 0;
    TLineNode* n = store_.NodeAtOffset(offset, &start);
    int32_t k = offset - start;
    if (!n->Styles || k < 0 || k >= TextLen(n) || !settings_->Styles[n->Styles[k]].Hotspot) return false;
    style = n->Styles[k];
    // The run of this style, across the pieces of a line (a CR ends it).
    auto same = [style](const TLineNode* p, int32_t i) {
        return p->Styles && p->Text[i] != '\r' && p->Styles[i] == style;
    };
    const TLineNode* a = n;
    int32_t ai = k;
    for (;;) {
        if (ai > 0 && same(a, ai - 1)) ai--;
        else if (ai == 0 && a->Prev && a->Prev->Len > 0 && same(a->Prev, a->Prev->Len - 1)) a = a->Prev, ai = a->Len - 1;
        else break;
    }
    text.clear();
    for (const TLineNode* p = a; p; p = p->Next, ai = 0) {
        int32_t i = ai;
        while (i < p->Len && same(p, i)) text += p->Text[i++];
        if (i < p->Len) break;
    }
    return true;
}

void TSyntaxMemoCore::SetBookmarkAt(int n, int32_t line, int32_t column) {
    if (n < 0 || n > 9) throw ESyntaxMemo("Bookmark index range error");
    if (store_.LineCount() == 0) return;
    int32_t start = 0, index = 0;
    if (line == -1) {
        store_.NodeAtOffset(caret_, &start, &index);
        column = caret_ - start + 1;
    } else {
        index = std::min(std::max(line, 1), store_.LineCount()) - 1;
        column = std::max(column, 1);
    }
    const uint16_t all = 0x3FF, bit = static_cast<uint16_t>(1u << n);
    int32_t carried = BookmarkLine(n);
    if (carried >= 0) {
        TLineNode* had = store_.LineAt(carried);
        had->GutterMarks &= static_cast<uint16_t>(~all);
        had->Flags |= lfRepaint;
    }
    if (carried != index) {
        if (Options() & smoWordWrap) index = store_.LogicalLineStart(index);
        if (index == carried) {
            bookmarkCols_[n] = 0;
        } else {
            TLineNode* node = store_.LineAt(index);
            node->GutterMarks = static_cast<uint16_t>((node->GutterMarks & ~all) | bit);
            node->Flags |= lfRepaint;
            bookmarkCols_[n] = column;
        }
        if (OnBookmarkSet) OnBookmarkSet(n);
    } else {
        bookmarkCols_[n] = 0;
    }
    if (view_) view_->ViewInvalidate();
}
