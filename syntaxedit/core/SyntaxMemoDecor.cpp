// What the paint pass draws besides the text: gutter images (bookmarks, line
// marks, the wrapped-line glyph), named marks, visible blanks and the focus
// line; the caret's width.
#include <algorithm>

#include "SM_Settings.h"
#include "SyntaxMemoCore.h"

namespace {
const int32_t kShowWrapGlyph = 0x200000, kShowRMargin = 32768, kShowWrapColumn = 131072;
const TColor kSilver = 12632256;
const TColor kMarkRed = 255;
int32_t TextLen(const TLineNode* n) { return n ? n->Len - (n->EndsWithCR() ? 1 : 0) : 0; }
int LowestBit(unsigned v) {
    int b = 0;
    while (!(v & 1)) v >>= 1, b++;
    return b;
}
}  // namespace

void TSyntaxMemoCore::PaintGutterCell(TDrawSurface& s, const TLineNode* n, int32_t y) {
    unsigned marks = n->GutterMarks;
    if (!(Options() & kShowWrapGlyph)) marks &= ~static_cast<unsigned>(gmContinuation);
    if (marks) {
        int b = LowestBit(marks);
        if (b == 12) s.GutterImage(2, 0, 1, y, lineHeight_);
        else s.GutterImage(0, b, 1, y, lineHeight_);
    }
    if (n->LineMarks) s.GutterImage(1, LowestBit(n->LineMarks), 17, y, lineHeight_);
}

void TSyntaxMemoCore::PaintMarks(TDrawSurface& s, const TLineNode* n, int32_t lineStart, int32_t y) {
    int32_t len = TextLen(n), lineEnd = lineStart + len;
    int32_t left = TextLeft();
    for (TTextMark* m = marks_.FindOverlap(lineStart, lineEnd + 1); m && m->Start <= lineEnd; m = m->Next) {
        if (m->End <= lineStart || m->Start > lineEnd) continue;
        int32_t x1 = ColumnX(n, DisplayColumn(n, std::max(m->Start - lineStart, 0)));
        int32_t x2 = ColumnX(n, DisplayColumn(n, std::min(m->End - lineStart, len)));
        x1 = std::max(x1, left);
        x2 = std::min(x2, clientWidth_);
        if (x2 <= x1) continue;
        int32_t bottom = y + lineHeight_;
        if (OnDrawMark && OnDrawMark(s, *m, x1, y, x2, bottom)) continue;
        // A zigzag along the row's bottom: up 2 pixels and back every 3.
        std::vector<int> pts;
        for (int32_t x = x1, i = 0; x <= x2; x += 3, i++) {
            pts.push_back(x);
            pts.push_back(bottom - 1 - (i % 2) * 2);
        }
        if (pts.size() >= 4) s.Polyline(pts.data(), static_cast<int>(pts.size() / 2), kMarkRed);
    }
}

void TSyntaxMemoCore::ShowBlanks(const TLineNode* n, std::string& disp) const {
    int32_t col = 0, len = TextLen(n), size = static_cast<int32_t>(disp.size());
    for (int32_t k = 0; k < len && col < size; k++) {
        char c = n->Text[k];
        if (c == '\t') {
            int32_t stop = std::min(NextTabStop(col), size);
            disp[static_cast<size_t>(col + (stop - col) / 2)] = kTabMarker;
            col = stop;
            continue;
        }
        if (c == ' ') disp[static_cast<size_t>(col)] = '.';
        col++;
    }
}

int32_t TSyntaxMemoCore::RightMargin() const { return settings_->RightMargin; }

void TSyntaxMemoCore::SetRightMargin(int32_t column) {
    if (column == settings_->RightMargin) return;
    settings_->RightMargin = column;
    MarkLines(topLine_, topLine_ + VisibleLines() + 1);
    if (view_) view_->ViewInvalidate();
}

// The right-margin line (solid), the wrap column's and a dragged one (dotted),
// at the column's x on this row (measured along its line).
void TSyntaxMemoCore::PaintGuides(TDrawSurface& s, TLineNode* n, int32_t y) {
    const TSM_Settings& st = *settings_;
    auto line = [&](int32_t column, bool dotted) {
        if (column <= leftCol_) return;
        int32_t x = n ? XOfColumn(n, column) : TextLeft() + (column - leftCol_) * charWidth_;
        if (FixedPitch() ? column >= leftCol_ + VisibleCols() : x >= clientWidth_) return;
        if (!dotted) s.FillRect(x, y, 1, lineHeight_, kSilver);
        else
            for (int32_t py = y; py < y + lineHeight_; py += 2) s.FillRect(x, py, 1, 1, kSilver);
    };
    if (st.Options & kShowRMargin) line(st.RightMargin, false);
    if ((st.Options & smoWordWrap) && (st.Options & kShowWrapColumn) && st.WrapAtColumn >= 1)
        line(st.WrapAtColumn, true);
    if (DragGuideColumn >= 0) line(DragGuideColumn, true);
}

void TSyntaxMemoCore::SetShowFocusLine(bool on) {
    if (on == showFocusLine_) return;
    showFocusLine_ = on;
    if (view_) view_->ViewInvalidate();
}

int32_t TSyntaxMemoCore::CaretWidth() const {
    return !InsertMode && (Options() & smoBlockOverwriteCursor) ? charWidth_ : 2;
}

// Over and under the caret's row, in the inverse of the text background.
void TSyntaxMemoCore::PaintFocusLine(TDrawSurface& s) {
    int32_t x = 0, y = 0;
    PointOfOffset(caret_, x, y);
    int32_t left = TextLeft();
    if (y < 0 || y >= clientHeight_ || left >= clientWidth_) return;
    TColor fg, back;
    StyleColors(0, fg, back);
    TColor c = ResolvedColor(back) ^ 0xFFFFFF;
    s.FillRect(left, y, clientWidth_ - left, 1, c);
    s.FillRect(left, y + lineHeight_ - 1, clientWidth_ - left, 1, c);
}
