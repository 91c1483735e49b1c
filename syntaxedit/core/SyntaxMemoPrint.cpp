// Printing the selected lines: page header and footer, line numbers, and
// wrapping at the last blank inside the page width.
#include <algorithm>
#include <cstdio>

#include "SM_Settings.h"
#include "SyntaxMemoCore.h"

void TSyntaxMemoCore::PrintColors(uint8_t style, TColor& fg, TColor& bg) const { StyleColors(style, fg, bg); }

int32_t TSyntaxMemoCore::PrintSelection(TDrawSurface& s, int32_t pageWidth, int32_t pageHeight,
                                        const std::function<void()>& newPage) {
    // The printout shows every line's styles: a lazy pass's leftovers first.
    if (CompleteHighlighting) CompleteHighlighting();
    const int32_t opts = Options(), cw = charWidth_, lh = lineHeight_;
    const TColor black = 0, white = 0xFFFFFF;
    const bool header = (opts & (smoPrintFilename | smoPrintDate | smoPrintPageNos)) != 0;
    const int32_t textX = 10 * cw;
    const int32_t top = ((opts & (smoPrintFilename | smoPrintDate)) ? 4 : 2) * lh;
    const int32_t bottom = pageHeight - ((opts & smoPrintPageNos) ? 5 : 2) * lh;
    const int32_t width = std::max<int32_t>(1, (pageWidth - textX) / cw - 1);
    // A proportional font is measured (the measurer is the printer's fonts
    // while printing); the text then fills the same width in pixels.
    const bool measured = !FixedPitch();
    auto textWidth = [&](const char* t, int n) { return measured ? measurer_->RunWidth(0, t, n, nullptr) : n * cw; };
    int32_t pages = 0, y = 0;
    auto startPage = [&] {
        if (pages++ > 0 && newPage) newPage();
        y = top;
        if (!header) return;
        if (opts & smoPrintFilename) s.TextRun(2 * cw, lh, fileName_.data(), static_cast<int>(fileName_.size()), black, white, pageWidth);
        if (opts & smoPrintDate) {
            std::string d = (DateText ? DateText() : std::string()) + " - " + (TimeText ? TimeText() : std::string());
            s.TextRun(pageWidth - 2 * cw - textWidth(d.data(), static_cast<int>(d.size())), lh, d.data(), static_cast<int>(d.size()), black, white, pageWidth);
        }
        if (opts & (smoPrintFilename | smoPrintDate)) s.FillRect(2 * cw, 3 * lh, pageWidth - 4 * cw, 1, black);
        if (opts & smoPrintPageNos) {
            char no[32];
            int n = snprintf(no, sizeof no, "- %d -", pages);
            s.FillRect(2 * cw, pageHeight - 3 * lh, pageWidth - 4 * cw, 1, black);
            s.TextRun((pageWidth - textWidth(no, n)) / 2, pageHeight - 2 * lh, no, n, black, white, pageWidth);
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
        // In the styles' colours and fonts (never the line's colours); styles
        // follow the characters only where no TAB moved them.
        const uint8_t* styles = (n->Flags & lfHasTab) || !(opts & smoSyntaxHighlight) ? nullptr : n->Styles;
        // How many characters from at fit the printed width.
        auto fit = [&](size_t at) -> size_t {
            size_t lo = 1, hi = text.size() - at;
            if (!measured) return static_cast<size_t>(width);
            auto fits = [&](size_t k) {
                return SpanWidth(text, styles, static_cast<int32_t>(at), static_cast<int32_t>(at + k)) <= width * cw;
            };
            if (fits(hi)) return hi;
            while (lo < hi) {
                size_t mid = (lo + hi + 1) / 2;
                if (fits(mid)) lo = mid;
                else hi = mid - 1;
            }
            return lo;
        };
        size_t at = 0;
        do {
            size_t len = text.size() - at;
            size_t room = (opts & smoPrintWrap) ? fit(at) : len;
            if (len > room) {
                size_t cut = text.rfind(' ', at + room - 1);  // the blank stays inside the width
                len = cut != std::string::npos && cut > at ? cut - at + 1 : room;
            }
            if (y + lh > bottom) startPage();
            if (at == 0 && logicalStart && (opts & smoPrintLineNos)) {
                char no[16];
                int k = snprintf(no, sizeof no, "%6d:", number);
                s.TextRun(2 * cw, y, no, k, black, white, textX);
            }
            int x = textX;
            for (size_t k = at, e; k < at + len; k = e) {
                uint8_t st = styles ? styles[k] : 0;
                for (e = k + 1; e < at + len && (styles ? styles[e] : 0) == st;) e++;
                TColor fg = black, bg = white;
                if (opts & smoSyntaxHighlight) PrintColors(st, fg, bg);
                s.SelectStyle(st);
                const int count = static_cast<int>(e - k);
                s.TextRun(x, y, text.data() + k, count, fg, bg, pageWidth);
                x += measured ? measurer_->RunWidth(st, text.data() + k, count, nullptr) : count * cw;
            }
            at += len;
            y += lh;
        } while (at < text.size());
    }
    return pages;
}
