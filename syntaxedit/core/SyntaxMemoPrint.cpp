// Printing the selected lines: page header and footer, line numbers, and
// wrapping at the last blank inside the page width.
#include <algorithm>
#include <cstdio>

#include "SyntaxMemoCore.h"

int32_t TSyntaxMemoCore::PrintSelection(TDrawSurface& s, int32_t pageWidth, int32_t pageHeight,
                                        const std::function<void()>& newPage) {
    const int32_t opts = Options(), cw = charWidth_, lh = lineHeight_;
    const TColor black = 0, white = 0xFFFFFF;
    const bool header = (opts & (smoPrintFilename | smoPrintDate | smoPrintPageNos)) != 0;
    const int32_t textX = 10 * cw;
    const int32_t top = ((opts & (smoPrintFilename | smoPrintDate)) ? 4 : 2) * lh;
    const int32_t bottom = pageHeight - ((opts & smoPrintPageNos) ? 5 : 2) * lh;
    const int32_t width = std::max<int32_t>(1, (pageWidth - textX) / cw - 1);
    int32_t pages = 0, y = 0;
    auto startPage = [&] {
        if (pages++ > 0 && newPage) newPage();
        y = top;
        if (!header) return;
        if (opts & smoPrintFilename) s.TextRun(2 * cw, lh, fileName_.data(), static_cast<int>(fileName_.size()), black, white, pageWidth);
        if (opts & smoPrintDate) {
            std::string d = (DateText ? DateText() : std::string()) + " - " + (TimeText ? TimeText() : std::string());
            s.TextRun(pageWidth - 2 * cw - static_cast<int>(d.size()) * cw, lh, d.data(), static_cast<int>(d.size()), black, white, pageWidth);
        }
        if (opts & (smoPrintFilename | smoPrintDate)) s.FillRect(2 * cw, 3 * lh, pageWidth - 4 * cw, 1, black);
        if (opts & smoPrintPageNos) {
            char no[32];
            int n = snprintf(no, sizeof no, "- %d -", pages);
            s.FillRect(2 * cw, pageHeight - 3 * lh, pageWidth - 4 * cw, 1, black);
            s.TextRun((pageWidth - n * cw) / 2, pageHeight - 2 * lh, no, n, black, white, pageWidth);
        }
    };
    auto sel = OrderPair({anchor_, caret_});
    if (store_.LineCount() == 0) return 0;
    int32_t first = LineOfOffset(sel.first), last = LineOfOffset(sel.second), start = 0;
    TLineNode* n = store_.LineAt(first, &start);
    // Numbers count whole lines, not the pieces word wrap makes.
    int32_t number = 0;
    for (TLineNode* p = store_.Head(); p && p != n; p = p->Next) number += (p->GutterMarks & gmContinuation) ? 0 : 1;
    startPage();
    for (int32_t line = first; n && line <= last; line++, n = n->Next) {
        std::string text = ExpandLine(n);
        bool logicalStart = !(n->GutterMarks & gmContinuation);
        if (logicalStart) number++;
        size_t at = 0;
        do {
            size_t len = text.size() - at;
            if ((opts & smoPrintWrap) && len > static_cast<size_t>(width)) {
                size_t cut = text.rfind(' ', at + width - 1);  // the blank stays inside the width
                len = cut != std::string::npos && cut > at ? cut - at + 1 : static_cast<size_t>(width);
            }
            if (y + lh > bottom) startPage();
            if (at == 0 && logicalStart && (opts & smoPrintLineNos)) {
                char no[16];
                int k = snprintf(no, sizeof no, "%6d:", number);
                s.TextRun(2 * cw, y, no, k, black, white, textX);
            }
            s.TextRun(textX, y, text.data() + at, static_cast<int>(len), black, white, pageWidth);
            at += len;
            y += lh;
        } while (at < text.size());
    }
    return pages;
}
