// Layout arithmetic of the headless editor: TAB stops, display columns, rows
// and points, scrolling, word wrap, and the paint pass over a TDrawSurface.
#include <algorithm>
#include <climits>

#include "SM_Settings.h"
#include "SyntaxMemoCore.h"

namespace {
const TColor kSilver = 12632256;
// System colour indices of the window's background and text, and of buttons.
const int kWindowIndex = 5, kWindowTextIndex = 8, kButtonFaceIndex = 15;
int32_t TextLen(const TLineNode* n) { return n ? n->Len - (n->EndsWithCR() ? 1 : 0) : 0; }
}  // namespace

void TSyntaxMemoCore::SetMetrics(int32_t charWidth, int32_t lineHeight, bool fixedPitch) {
    charWidth_ = charWidth > 0 ? charWidth : 7;
    lineHeight_ = lineHeight > 0 ? lineHeight : 17;
    fixedPitch_ = fixedPitch;
}

void TSyntaxMemoCore::SetClientSize(int32_t width, int32_t height) {
    int32_t oldCols = VisibleCols();
    clientWidth_ = std::max(width, 0);
    clientHeight_ = std::max(height, 0);
    if ((Options() & smoWordWrap) && WrapAtColumn() == 0 && VisibleCols() != oldCols) RewrapAll();
    MarkLines(topLine_, topLine_ + VisibleLines() + 1);
    UpdateScrollBars();
}

int32_t TSyntaxMemoCore::TextLeft() const {
    return settings_->Margin + ((settings_->Options & smoShowGutter) ? settings_->Gutter : 0);
}
int32_t TSyntaxMemoCore::VisibleCols() const { return std::max(0, (clientWidth_ - TextLeft()) / charWidth_); }
int32_t TSyntaxMemoCore::VisibleLines() const { return clientHeight_ / lineHeight_; }

int32_t TSyntaxMemoCore::NextTabStop(int32_t column) const {
    // Settings read from a stream or a scheme may hold any numbers: a stop
    // past the table's limit ends it, the default width is kept in range.
    for (int32_t stop : settings_->TabColumns) {
        if (stop < 0 || stop >= kMaxTabColumn) break;
        if (stop > column) return stop;
    }
    int32_t t = std::clamp(settings_->TabDefault, 1, kMaxTabDefault);
    return static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(t) * (column / t + 1), INT32_MAX));
}

int32_t TSyntaxMemoCore::DisplayColumn(const TLineNode* node, int32_t charIndex) const {
    if (!node) return 0;
    int32_t limit = node->Len;
    if (node->EndsWithCR()) limit--;
    charIndex = std::clamp(charIndex, 0, limit);
    if (!(node->Flags & lfHasTab)) return charIndex;
    int32_t col = 0;
    for (int32_t k = 0; k < charIndex; k++) col = node->Text[k] == '\t' ? NextTabStop(col) : col + 1;
    return col;
}

int32_t TSyntaxMemoCore::CharIndexOfColumn(const TLineNode* node, int32_t column) const {
    if (!node) return 0;
    int32_t len = TextLen(node), col = 0;
    for (int32_t k = 0; k < len; k++) {
        int32_t next = node->Text[k] == '\t' ? NextTabStop(col) : col + 1;
        if (next > column) return column - col > (next - col) / 2 ? k + 1 : k;
        col = next;
    }
    return len;
}

std::string TSyntaxMemoCore::ExpandLine(const TLineNode* node) const {
    std::string out;
    int32_t len = TextLen(node);
    out.reserve(static_cast<size_t>(len));
    for (int32_t k = 0; k < len; k++) {
        if (node->Text[k] == '\t') out.append(static_cast<size_t>(NextTabStop(static_cast<int32_t>(out.size())) - static_cast<int32_t>(out.size())), ' ');
        else out += node->Text[k];
    }
    return out;
}

const uint8_t* TSyntaxMemoCore::DisplayLine(const TLineNode* n, std::string& disp, std::vector<uint8_t>& styles) const {
    disp = ExpandLine(n);
    if (Options() & smoShowBlanksBit) ShowBlanks(n, disp);
    if (!n || !n->Styles) return nullptr;
    if (!(n->Flags & lfHasTab)) return n->Styles;
    // An expanded TAB's cells take the TAB's style.
    styles.assign(disp.size(), 0);
    int32_t col = 0, len = TextLen(n), size = static_cast<int32_t>(disp.size());
    for (int32_t k = 0; k < len && col < size; k++) {
        int32_t next = n->Text[k] == '\t' ? std::min(NextTabStop(col), size) : col + 1;
        std::fill(styles.begin() + col, styles.begin() + next, n->Styles[k]);
        col = next;
    }
    return styles.data();
}

int32_t TSyntaxMemoCore::RunEnd(const std::string& disp, const uint8_t* styles, int32_t k, int32_t end) const {
    int32_t e = k + 1;
    if (styles)
        while (e < end && styles[e] == styles[k]) e++;
    else
        e = end;
    // A TAB's marker cell is a run of its own (drawn as a glyph).
    if (disp[static_cast<size_t>(k)] == kTabMarker) return k + 1;
    return static_cast<int32_t>(std::find(disp.begin() + k, disp.begin() + e, kTabMarker) - disp.begin());
}

int32_t TSyntaxMemoCore::SpanWidth(const std::string& disp, const uint8_t* styles, int32_t from, int32_t to) {
    int32_t w = 0;
    for (int32_t k = from, e; k < to; k = e) {
        e = RunEnd(disp, styles, k, to);
        w += disp[static_cast<size_t>(k)] == kTabMarker
                 ? charWidth_
                 : measurer_->RunWidth(styles ? styles[k] : 0, disp.data() + k, e - k, nullptr);
    }
    return w;
}

int32_t TSyntaxMemoCore::ColumnX(const TLineNode* n, int32_t column) {
    if (FixedPitch() || column < leftCol_) return TextLeft() + (column - leftCol_) * charWidth_;
    std::string disp;
    std::vector<uint8_t> buf;
    const uint8_t* ds = DisplayLine(n, disp, buf);
    int32_t len = static_cast<int32_t>(disp.size());
    // Past the line's end the columns are cells of the average width.
    int32_t measured = std::clamp(column, leftCol_, std::max(len, leftCol_));
    return TextLeft() + SpanWidth(disp, ds, leftCol_, measured) + (column - measured) * charWidth_;
}

int32_t TSyntaxMemoCore::XOfColumn(const TLineNode* node, int32_t column) {
    return column < leftCol_ ? -1 : ColumnX(node, column);
}

int32_t TSyntaxMemoCore::ColumnOfX(const TLineNode* node, int32_t x, bool cell) {
    int32_t rel = std::max(x - TextLeft(), 0), half = cell ? 0 : charWidth_ / 2;
    if (FixedPitch()) return leftCol_ + (rel + half) / charWidth_;
    std::string disp;
    std::vector<uint8_t> buf;
    const uint8_t* ds = DisplayLine(node, disp, buf);
    int32_t len = static_cast<int32_t>(disp.size()), x0 = 0, k = leftCol_;
    for (int32_t e; k < len; k = e) {
        e = RunEnd(disp, ds, k, len);
        int32_t count = e - k, total;
        ends_.resize(static_cast<size_t>(count));
        if (disp[static_cast<size_t>(k)] == kTabMarker) total = ends_[0] = charWidth_;
        else total = measurer_->RunWidth(ds ? ds[k] : 0, disp.data() + k, count, ends_.data());
        if (rel < x0 + total) {
            for (int32_t i = 0; i < count; i++) {
                int32_t a = x0 + (i ? ends_[static_cast<size_t>(i - 1)] : 0), b = x0 + ends_[static_cast<size_t>(i)];
                if (rel < b || i == count - 1) return k + i + (!cell && 2 * rel >= a + b ? 1 : 0);
            }
        }
        x0 += total;
    }
    return std::max(k, len) + (rel - x0 + half) / charWidth_;
}

void TSyntaxMemoCore::PointOfOffset(int32_t offset, int32_t& x, int32_t& y) {
    x = y = -1;
    if (store_.LineCount() == 0) {
        x = TextLeft();
        y = 0;
        return;
    }
    int32_t start = 0, line = 0;
    TLineNode* n = store_.NodeAtOffset(offset, &start, &line);
    if (line < topLine_) return;
    y = (line - topLine_) * lineHeight_;
    x = ColumnX(n, DisplayColumn(n, offset - start));
}

int32_t TSyntaxMemoCore::OffsetOfPoint(int32_t x, int32_t y, bool cell) {
    if (store_.LineCount() == 0) return 0;
    int32_t line = std::clamp(topLine_ + std::max(y, 0) / lineHeight_, 0, store_.LineCount() - 1);
    int32_t start = 0;
    TLineNode* n = store_.LineAt(line, &start);
    int32_t col = ColumnOfX(n, x, cell);
    if (!cell) return start + CharIndexOfColumn(n, col);
    int32_t k = CharIndexOfColumn(n, col);
    while (k > 0 && DisplayColumn(n, k) > col) k--;
    return start + k;
}

TScrollValues TSyntaxMemoCore::VerticalScroll() const {
    TScrollValues v;
    int32_t lines = store_.LineCount();
    v.Scale = lines >= 32000 ? lines / 32000 + 1 : 1;
    int32_t page = VisibleLines();
    if (topLine_ > 0 && lines < page) page = lines - topLine_;
    v.Max = lines / v.Scale;
    v.Page = page / v.Scale;
    v.Pos = topLine_ / v.Scale;
    return v;
}

void TSyntaxMemoCore::UpdateScrollBars() {
    if (!view_ || displayHeld_ || !redraw_) return;
    TScrollValues v = VerticalScroll();
    view_->ViewScrollBar(true, v.Max, v.Page, v.Pos);
    view_->ViewScrollBar(false, (Options() & smoWordWrap) ? 0 : HorizontalRange(), VisibleCols(), leftCol_);
}

int32_t TSyntaxMemoCore::HorizontalRange() {
    if (FixedPitch()) return maxLineLen_;
    int32_t width = clientWidth_ - TextLeft();
    if (width != extentWidth_ || charWidth_ != extentChar_) {
        // Another width: the rows on screen are measured again.
        extentWidth_ = width;
        extentChar_ = charWidth_;
        extent_ = 0;
        TLineNode* n = store_.LineCount() ? store_.LineAt(topLine_, nullptr) : nullptr;
        for (int32_t i = 0; n && i <= VisibleLines(); i++, n = n->Next) GrowExtent(n);
    }
    return std::max(maxLineLen_, extent_);
}

void TSyntaxMemoCore::GrowExtent(const TLineNode* n) {
    if (FixedPitch() || clientWidth_ <= 0) return;
    int32_t len = DisplayColumn(n, TextLen(n)), cols = VisibleCols();
    // Its end column plus a page is the most a line can ask.
    if (len + cols - 1 <= std::max(maxLineLen_, extent_)) return;
    // Measured from two pages before the end: a tail that fits from there
    // asks less than the line's length anyway.
    extent_ = std::max(extent_, FittingLeft(n, len, std::max(0, len - 2 * cols - 8), 1) + cols - 1);
}

int32_t TSyntaxMemoCore::FittingLeft(const TLineNode* n, int32_t column, int32_t left, int32_t step) {
    std::string disp;
    std::vector<uint8_t> buf;
    const uint8_t* ds = DisplayLine(n, disp, buf);
    // x of every column boundary from left up to column (only those can be
    // the answer); past the line's end, average cells.
    int32_t from = std::min(left, static_cast<int32_t>(disp.size()));
    int32_t len = std::clamp(column, from, static_cast<int32_t>(disp.size()));
    std::vector<int32_t> edge(static_cast<size_t>(len - from) + 1, 0);
    for (int32_t k = from, e; k < len; k = e) {
        e = RunEnd(disp, ds, k, len);
        ends_.resize(static_cast<size_t>(e - k));
        if (disp[static_cast<size_t>(k)] == kTabMarker) ends_[0] = charWidth_;
        else measurer_->RunWidth(ds ? ds[k] : 0, disp.data() + k, e - k, ends_.data());
        for (int32_t i = k; i < e; i++) edge[static_cast<size_t>(i - from) + 1] = edge[static_cast<size_t>(k - from)] + ends_[static_cast<size_t>(i - k)];
    }
    auto x = [&](int32_t c) {
        return c <= len ? edge[static_cast<size_t>(c - from)] : edge[static_cast<size_t>(len - from)] + (c - len) * charWidth_;
    };
    int32_t room = clientWidth_ - TextLeft() - charWidth_;
    while (left + step <= column && x(column) - x(left) > room) left += step;
    while (left < column && x(column) - x(left) > room) left++;
    // Runs measured from left may come out wider than the advances (overhang).
    int32_t kept = leftCol_;
    for (leftCol_ = left; left < column && ColumnX(n, column) + charWidth_ > clientWidth_;) leftCol_ = ++left;
    leftCol_ = kept;
    return left;
}

bool TSyntaxMemoCore::FitsFirstScreen(const TLineNode* n, int32_t column) {
    int32_t room = clientWidth_ - TextLeft() - charWidth_;
    if (FixedPitch()) return column < VisibleCols();
    std::string disp;
    std::vector<uint8_t> buf;
    const uint8_t* ds = DisplayLine(n, disp, buf);
    int32_t len = std::min(column, static_cast<int32_t>(disp.size()));
    // Measured a stretch at a time, so a far column of a long line costs
    // no more than a screen's worth.
    int32_t w = (column - len) * charWidth_;
    for (int32_t k = 0; k < len && w <= room; k += 64) w += SpanWidth(disp, ds, k, std::min(k + 64, len));
    return w <= room;
}

void TSyntaxMemoCore::ScrollTo(int32_t column, int32_t line) {
    column = std::clamp(column, 0, std::max(0, std::max<int32_t>(HorizontalRange(), 1) - 1));
    line = std::clamp(line, 0, std::max(0, store_.LineCount() - 1));
    if (column == leftCol_ && line == topLine_) return;
    leftCol_ = column;
    topLine_ = line;
    changeFlags_ |= 16;
    MarkLines(topLine_, topLine_ + VisibleLines() + 1);
    UpdateScrollBars();
    if (view_) view_->ViewInvalidate();
}

void TSyntaxMemoCore::ScrollIntoView(int32_t offset) {
    if (clientHeight_ <= 0 || clientWidth_ <= 0 || store_.LineCount() == 0) return;
    int32_t start = 0, line = 0;
    TLineNode* n = store_.NodeAtOffset(offset, &start, &line);
    int32_t top = topLine_, left = leftCol_;
    int32_t rows = std::max(1, VisibleLines());
    if (line < top) top = line;
    else if (line >= top + rows) top = line - rows + 1;
    int32_t col = DisplayColumn(n, offset - start), cols = std::max(1, VisibleCols());
    while (col < left) left = std::max(0, left - 8);
    if (FixedPitch()) {
        while (col >= left + cols) left += 8;
    } else {
        left = FittingLeft(n, col, left, 8);
    }
    // Eight at a time back towards 0: all the way when the column fits there.
    if (ScrollBack && left > 0 && FitsFirstScreen(n, col)) left = 0;
    if (top != topLine_ || left != leftCol_) {
        topLine_ = top;
        leftCol_ = left;
        changeFlags_ |= 16;
        MarkLines(topLine_, topLine_ + rows + 1);
        UpdateScrollBars();
    }
}

int32_t TSyntaxMemoCore::DragSelectOffset(int32_t x, int32_t y) {
    int32_t left = leftCol_, top = topLine_;
    if (y < 0 && top > 0) top--;
    else if (y >= clientHeight_) top++;
    if (x < TextLeft() && left > 0) left--;
    else if (x >= clientWidth_) left++;
    if (left != leftCol_ || top != topLine_) ScrollTo(left, top);
    // The offset under the point kept inside the rows shown.
    y = std::clamp(y, 0, std::max(0, VisibleLines() * lineHeight_ - 1));
    // Right of the text the caret takes the last boundary whose cell fits,
    // so the view moves one column a move, not eight.
    if (x >= clientWidth_) return OffsetOfPoint(std::max(clientWidth_ - charWidth_, TextLeft()), y, true);
    return OffsetOfPoint(x, y);
}

int32_t TSyntaxMemoCore::WrapWidth() const {
    int32_t w = settings_->WrapAtColumn > 0 ? settings_->WrapAtColumn : VisibleCols() - 4;
    return std::max(w, 20);
}

void TSyntaxMemoCore::RewrapRange(int32_t fromLine, int32_t toLine) {
    if (rewrapping_ || store_.LineCount() == 0) return;
    rewrapping_ = true;
    bool wrap = (Options() & smoWordWrap) != 0;
    int32_t width = wrap ? WrapWidth() : kMaxLinePiece;
    // With smoWrapOverride a line that starts with one of these stays whole.
    TSet256 keepWhole = CharSetFromString(settings_->WrapOverride);
    bool overrideOn = wrap && (Options() & smoWrapOverride);
    bool firstPiece = true;
    auto cut = [&](const char* text, const uint8_t*, int32_t len) -> int32_t {
        int32_t visible = len > 0 && text[len - 1] == '\r' ? len - 1 : len;
        bool first = firstPiece;
        firstPiece = false;
        if (first && overrideOn && visible > 0 && len <= kMaxLinePiece && keepWhole.Has(static_cast<uint8_t>(text[0])))
            return len;
        int32_t col = 0, k = 0;
        if (wrap && !FixedPitch()) k = ProportionalCut(text, visible, width * charWidth_);
        while (k < visible && (!wrap || FixedPitch())) {
            int32_t next = text[k] == '\t' ? NextTabStop(col) : col + 1;
            if (next > width) break;
            col = next;
            k++;
        }
        if (k >= visible) return len;
        if (!wrap) return k;
        // Back to the start of the word the cut falls in, so that no piece
        // passes the width (blanks included); a word longer than the width is
        // cut at the width. A word-break handler may choose instead.
        int32_t b = k;
        if (OnWordBreakProc) b = std::min(WordBreak(text, k, 0, visible), k);
        else
            while (b > 0 && !IsBreakChar(static_cast<uint8_t>(text[b - 1]))) b--;
        return b > 0 ? b : std::max(k, 1);
    };
    int32_t endOffset = store_.LineStart(std::min(toLine, store_.LineCount() - 1));
    int32_t index = store_.LogicalLineStart(std::clamp(fromLine, 0, store_.LineCount() - 1));
    while (index < store_.LineCount()) {
        int32_t start = store_.LineStart(index);
        if (start > endOffset) break;
        int32_t pieces = 1;
        firstPiece = true;
        int32_t first = store_.RewrapLine(index, cut, &pieces);
        index = first + pieces;
    }
    topLine_ = std::min(topLine_, std::max(0, store_.LineCount() - 1));
    rewrapping_ = false;
}

// The most characters from the line's start whose width in style 0's font fits.
int32_t TSyntaxMemoCore::ProportionalCut(const char* text, int32_t visible, int32_t width) {
    std::string disp;
    std::vector<int32_t> colEnd(static_cast<size_t>(visible));
    for (int32_t k = 0; k < visible; k++) {
        int32_t col = static_cast<int32_t>(disp.size());
        disp.append(static_cast<size_t>(text[k] == '\t' ? NextTabStop(col) - col : 1), text[k] == '\t' ? ' ' : text[k]);
        colEnd[static_cast<size_t>(k)] = static_cast<int32_t>(disp.size());
    }
    if (disp.empty()) return 0;
    ends_.resize(disp.size());
    measurer_->RunWidth(0, disp.data(), static_cast<int32_t>(disp.size()), ends_.data());
    // Characters without width never make a piece longer than a node holds.
    int32_t k = 0, most = std::min(visible, kMaxLinePiece - 1);
    while (k < most && ends_[static_cast<size_t>(colEnd[static_cast<size_t>(k)] - 1)] <= width) k++;
    return k;
}

void TSyntaxMemoCore::MeasureLines() {
    int32_t longest = 0;
    for (TLineNode* n = store_.Head(); n; n = n->Next) longest = std::max<int32_t>(longest, n->Len);
    maxLineLen_ = longest;
    extent_ = 0;
    extentWidth_ = -1;  // proportional widths are measured anew
}

void TSyntaxMemoCore::RewrapAll() {
    RewrapRange(0, store_.LineCount());
    MarkLines(topLine_, topLine_ + VisibleLines() + 1);
    UpdateScrollBars();
}

void TSyntaxMemoCore::StyleColors(uint8_t style, TColor& fg, TColor& bg) const {
    const TSM_Settings& st = *settings_;
    const TStyleEntry& s0 = st.Styles[0];
    const TStyleEntry& se = st.Styles[style];
    // Style 0's flags ask for the system's window colours; another style's
    // for style 0's colours.
    TColor text = s0.UseDefaultText ? SettingsPlatform().SystemColor(kWindowTextIndex) : s0.TextColor;
    TColor back = s0.UseDefaultBack ? SettingsPlatform().SystemColor(kWindowIndex) : s0.BackColor;
    fg = style == 0 || se.UseDefaultText ? text : se.TextColor;
    bg = style == 0 || se.UseDefaultBack ? back : se.BackColor;
}

TColor TSyntaxMemoCore::GutterFill() const {
    // The default gutter colour: the system's button face, as a new control has it.
    return settings_->GutterUseDefault ? SettingsPlatform().SystemColor(kButtonFaceIndex) : settings_->GutterColor;
}

TColor TSyntaxMemoCore::MarginFill() const {
    if (!settings_->MarginUseDefault) return settings_->MarginColor;
    TColor fg, bg;
    StyleColors(0, fg, bg);
    return bg;
}

void TSyntaxMemoCore::RunColors(const TLineNode* n, uint8_t style, bool selected, TColor& fg, TColor& bg) const {
    const TSM_Settings& st = *settings_;
    if (selected) {
        fg = st.SelTextUseDefaultText ? SettingsPlatform().SystemColor(COLOR_HIGHLIGHTTEXT_INDEX) : st.SelTextColor;
        bg = st.SelTextUseDefaultBack ? SettingsPlatform().SystemColor(COLOR_HIGHLIGHT_INDEX) : st.SelTextBack;
    } else if (!(st.Options & smoSyntaxHighlight)) {
        fg = 0;
        bg = 0xFFFFFF;
    } else if (!n || n->BackColor == -1) {
        StyleColors(style, fg, bg);
    } else {
        StyleColors(0, fg, bg);
        if (n->TextColor != -1) fg = n->TextColor;
        bg = n->BackColor;
    }
    if (view_ && !view_->ViewEnabled()) bg = kSilver;
}

void TSyntaxMemoCore::PaintRow(TDrawSurface& s, TLineNode* n, int32_t lineStart, int32_t y, bool showSel) {
    std::string disp;
    std::vector<uint8_t> buf;
    const uint8_t* ds = DisplayLine(n, disp, buf);
    if (static_cast<int32_t>(disp.size()) > maxLineLen_) maxLineLen_ = static_cast<int32_t>(disp.size());
    int32_t len = static_cast<int32_t>(disp.size());
    if (n->Flags & (lfRepaint | lfChanged)) GrowExtent(n);
    // Selected display columns of this row, and whether the selection runs on past its end.
    int32_t selFrom = 0, selTo = 0;
    bool selPastEnd = false;
    auto sel = OrderPair({anchor_, caret_});
    if (showSel && sel.first < sel.second && sel.first <= lineStart + TextLen(n) && sel.second > lineStart) {
        selFrom = DisplayColumn(n, sel.first - lineStart);
        selTo = DisplayColumn(n, sel.second - lineStart);
        selPastEnd = n->EndsWithCR() && sel.second > lineStart + TextLen(n);
    }
    int32_t bounds[4] = {leftCol_, std::max(selFrom, leftCol_), std::max(selTo, leftCol_), std::max(len, leftCol_)};
    bounds[1] = std::min(bounds[1], bounds[3]);
    bounds[2] = std::min(std::max(bounds[2], bounds[1]), bounds[3]);
    const bool fixed = FixedPitch();
    int32_t x = TextLeft();
    for (int part = 0; part < 3 && x < clientWidth_; part++) {
        bool selected = part == 1;
        // Style bytes split a part into runs (without them: style 0 throughout).
        for (int32_t k = bounds[part], e; k < bounds[part + 1] && x < clientWidth_; k = e) {
            e = RunEnd(disp, ds, k, bounds[part + 1]);
            uint8_t st = ds ? ds[k] : 0;
            TColor fg, bg;
            RunColors(n, st, selected, fg, bg);
            s.SelectStyle(st);
            s.TextRun(x, y, disp.data() + k, e - k, fg, bg, clientWidth_);
            x += fixed || disp[static_cast<size_t>(k)] == kTabMarker
                     ? (e - k) * charWidth_
                     : measurer_->RunWidth(st, disp.data() + k, e - k, nullptr);
        }
    }
    if (x < clientWidth_) {
        TColor fg, bg;
        RunColors(n, 0, selPastEnd, fg, bg);
        s.FillRect(x, y, clientWidth_ - x, lineHeight_, bg);
    }
}

void TSyntaxMemoCore::Paint(TDrawSurface& s) {
    if (displayHeld_ || !redraw_) return;
    const TSM_Settings& st = *settings_;
    bool showSel = anchor_ != caret_ && (!HideSelection || (view_ && view_->ViewFocused()));
    int32_t gutter = (st.Options & smoShowGutter) ? st.Gutter : 0;
    int32_t start = 0;
    TLineNode* n = store_.LineCount() ? store_.LineAt(topLine_, &start) : nullptr;
    int32_t range = FixedPitch() ? 0 : HorizontalRange();
    for (int32_t y = 0; y < clientHeight_; y += lineHeight_) {
        if (gutter > 0) {
            s.FillRect(0, y, gutter, lineHeight_, GutterFill());
            if (gutter > 9) s.FillRect(gutter - 2, y, 1, lineHeight_, 0xFFFFFF);
            if (n) PaintGutterCell(s, n, y);
        }
        if (st.Margin > 0) s.FillRect(gutter, y, st.Margin, lineHeight_, MarginFill());
        if (!n) {
            TColor fg, bg;
            RunColors(nullptr, 0, false, fg, bg);
            s.FillRect(TextLeft(), y, clientWidth_ - TextLeft(), lineHeight_, bg);
            PaintGuides(s, nullptr, y);
            continue;
        }
        PaintRow(s, n, start, y, showSel);
        if (marks_.First()) PaintMarks(s, n, start, y);
        PaintGuides(s, n, y);
        n->Flags &= ~static_cast<uint32_t>(lfRepaint | lfChanged | lfRescan);
        start += n->Len;
        n = n->Next;
    }
    if (showFocusLine_) PaintFocusLine(s);
    // A line measured wider than the range seen so far widens the bar.
    if (!FixedPitch() && HorizontalRange() > range) UpdateScrollBars();
}
