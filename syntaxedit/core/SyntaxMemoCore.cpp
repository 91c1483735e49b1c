// Selection, text replacement, properties and line colours of the headless
// editor.
#include "SyntaxMemoCore.h"
#include "KeyboardActionContoller.h"

#include <algorithm>

#include "CustomBookmarks.h"
#include "SM_Settings.h"
#include "SyntaxMemoErrors.h"

TSyntaxMemoCore::TSyntaxMemoCore()
    : own_(new TSM_Settings), settings_(own_.get()), bookmarks_(new TCustomBookmarks), undo_(*this),
      shiftFree_(DefaultShiftFreeKeys()) {
    store_.AddWatcher(this);
}

TSyntaxMemoCore::~TSyntaxMemoCore() { store_.RemoveWatcher(this); }

void TSyntaxMemoCore::StoreEdited(TTextStore&, const TStoreEdit& edit) {
    // Lines below an edit that changed the line count moved: repaint the screen's worth.
    if (edit.LinesAdded != edit.LinesRemoved) MarkLines(edit.FirstLine, edit.FirstLine + VisibleLines() + 2);
    // The horizontal range grows with the lines an edit made; it is not shrunk.
    TLineNode* n = edit.First;
    for (int32_t i = 0; n && i < std::max(edit.LinesAdded, 1); i++, n = n->Next)
        maxLineLen_ = std::max<int32_t>(maxLineLen_, n->Len);
    if (store_.LineCount() == 0) maxLineLen_ = extent_ = 0;
}

int32_t TSyntaxMemoCore::LineOfOffset(int32_t offset) {
    if (store_.LineCount() == 0) return 0;
    int32_t index = 0;
    store_.NodeAtOffset(offset, nullptr, &index);
    return index;
}

void TSyntaxMemoCore::MarkLines(int32_t from, int32_t to) {
    int32_t start = 0;
    TLineNode* n = store_.LineAt(std::max(from, 0), &start);
    for (int32_t i = std::max(from, 0); n && i <= to; i++, n = n->Next) n->Flags |= lfRepaint;
}

void TSyntaxMemoCore::SetSelection(int32_t anchor, int32_t caret, bool repaint) {
    int32_t len = store_.TextLength();
    if (anchor == -1) {
        anchor = 0;
        caret = len;
    }
    int32_t oldA = anchor_, oldC = caret_;
    anchor_ = std::clamp(anchor, 0, len);
    caret_ = std::clamp(caret, 0, len);
    if (keepColumn_ && (Options() & smoColumnTrack)) {
        // keep the remembered column
    } else if (store_.LineCount() > 0) {
        int32_t start = 0;
        TLineNode* n = store_.NodeAtOffset(caret_, &start);
        caretCol_ = DisplayColumn(n, caret_ - start);
    }
    keepColumn_ = false;
    if (oldA != anchor_ || oldC != caret_) changeFlags_ |= 1;
    if (!repaint || !redraw_) return;
    auto o = OrderPair({oldA, oldC});
    auto n = OrderPair({anchor_, caret_});
    MarkLines(LineOfOffset(o.first), LineOfOffset(o.second));
    MarkLines(LineOfOffset(n.first), LineOfOffset(n.second));
    ScrollIntoView(caret_);
    Change();
    if (view_) view_->ViewInvalidate();
}

std::string TSyntaxMemoCore::SelectedText() {
    auto p = OrderPair({anchor_, caret_});
    return store_.GetText(p.first, p.second);
}

std::string TSyntaxMemoCore::PlainText(int32_t start, int32_t end, bool unixEnds) {
    std::string raw = store_.GetText(start, end), out;
    out.reserve(raw.size() + raw.size() / 16);
    for (char c : raw) {
        if (c == '\r') {
            if (!unixEnds) out += '\r';
            out += '\n';
        } else {
            out += c;
        }
    }
    return out;
}

void TSyntaxMemoCore::DeleteSelectionRaw() {
    auto p = OrderPair({anchor_, caret_});
    anchor_ = caret_ = p.first;
    if (p.first == p.second || store_.TextLength() == 0) return;
    int32_t line = LineOfOffset(p.first);
    store_.DeleteText(p.first, p.second);
    bookmarks_->TextDeleted(p.second - p.first, p.first);
    marks_.TextDeleted(p.first, p.second);
    changeFlags_ |= 2;
    if (store_.LineCount() == 0) {
        topLine_ = leftCol_ = maxLineLen_ = extent_ = 0;
        bookmarks_->Clear();
        if (OnTextChange) OnTextChange(0, 0);
        return;
    }
    if (topLine_ >= store_.LineCount()) topLine_ = std::max(0, store_.LineCount() - 1);
    if (Options() & smoWordWrap) RewrapRange(line, line);
    if (OnTextChange) OnTextChange(p.first, -(p.second - p.first));
}

void TSyntaxMemoCore::InsertRaw(const char* text, int32_t count) {
    if (count <= 0) return;
    std::string norm = NormalizeInsertText(std::string(text, static_cast<size_t>(count)));
    if (norm.empty()) return;
    int32_t at = caret_;
    int32_t n = static_cast<int32_t>(norm.size());
    if (n > INT32_MAX - store_.TextLength()) n = INT32_MAX - store_.TextLength();
    int32_t line = LineOfOffset(at);
    store_.InsertText(at, norm.data(), n);
    bookmarks_->TextInserted(n, at);
    marks_.TextInserted(at, n);
    anchor_ = caret_ = at + n;
    changeFlags_ |= 2 | 128;
    if (Options() & smoWordWrap) RewrapRange(line, LineOfOffset(caret_));
    if (OnTextChange) OnTextChange(at, n);
}

void TSyntaxMemoCore::ReplaceSelection(const char* text, int32_t count) {
    if (!text) count = 0;
    std::string inserted = count > 0 ? NormalizeInsertText(std::string(text, static_cast<size_t>(count))) : "";
    // A read-only control (the log) keeps no undo of what the program writes.
    bool record = !ReadOnly && undo_.Logging() && !undo_.Replaying() && !undo_.TransactionOpen();
    if (record) undo_.BeginReplace(inserted);
    else if (!undo_.Replaying() && !undo_.TransactionOpen() && (anchor_ != caret_ || !inserted.empty()))
        undo_.Forget();  // an edit the log does not hold: what it holds is stale
    DeleteSelectionRaw();
    InsertRaw(inserted.data(), static_cast<int32_t>(inserted.size()));
    if (record) undo_.Commit(TUndoRecorder::ucReplace);
    int32_t start = 0;
    if (store_.LineCount() > 0) caretCol_ = DisplayColumn(store_.NodeAtOffset(caret_, &start), caret_ - start);
}

void TSyntaxMemoCore::ClearText() {
    bool was = redraw_;
    redraw_ = false;
    anchor_ = 0;
    caret_ = store_.TextLength();
    bool ro = ReadOnly;
    ReadOnly = true;  // clearing is not undone
    ReplaceSelection(nullptr, 0);
    ReadOnly = ro;
    redraw_ = was;
    undo_.Clear();
    topLine_ = leftCol_ = 0;
    if (view_) view_->ViewInvalidate();
    UpdateScrollBars();
}

void TSyntaxMemoCore::Change() {
    if (displayHeld_ || !redraw_) return;
    if (changeFlags_ && OnChange) OnChange();
    changeFlags_ = 0;
}

void TSyntaxMemoCore::SetRedraw(bool on) {
    redraw_ = on;
    if (on) {
        MarkLines(topLine_, topLine_ + VisibleLines() + 1);
        Change();
        if (view_) view_->ViewInvalidate();
        UpdateScrollBars();
    }
}

// ---- undo target

void TSyntaxMemoCore::UndoGetSelection(int32_t& anchor, int32_t& caret) {
    anchor = anchor_;
    caret = caret_;
}
void TSyntaxMemoCore::UndoSetSelection(int32_t anchor, int32_t caret) { SetSelection(anchor, caret, false); }
void TSyntaxMemoCore::UndoReplaceSelection(const std::string& text) {
    ReplaceSelection(text.data(), static_cast<int32_t>(text.size()));
}
void TSyntaxMemoCore::UndoInsertStream(TStream& stream) {
    std::string s(static_cast<size_t>(std::max<int64_t>(0, stream.Size() - stream.Position())), '\0');
    s.resize(static_cast<size_t>(stream.Read(&s[0], static_cast<int32_t>(s.size()))));
    ReplaceSelection(s.data(), static_cast<int32_t>(s.size()));
}

// ---- properties

int32_t TSyntaxMemoCore::Options() const { return settings_->Options; }

void TSyntaxMemoCore::SetOptions(int32_t word) {
    int32_t old = settings_->Options;
    settings_->Options = word;
    if ((old ^ word) & smoWordWrap) {
        leftCol_ = 0;
        RewrapAll();
    }
    // Lines edited while highlighting was off kept no styles, others kept
    // stale ones: all are highlighted anew.
    if (!(old & smoSyntaxHighlight) && (word & smoSyntaxHighlight)) DropAllStyles();
    changeFlags_ |= 64;
    MarkLines(topLine_, topLine_ + VisibleLines() + 1);
    if (view_) view_->ViewInvalidate();
    UpdateScrollBars();
}

void TSyntaxMemoCore::DropAllStyles() {
    for (TLineNode* n = store_.Head(); n; n = n->Next) {
        delete[] n->Styles;
        n->Styles = nullptr;
        n->Flags |= lfRepaint | lfChanged;
    }
    if (OnStylesDropped) OnStylesDropped();
}

int32_t TSyntaxMemoCore::TabDefault() const { return settings_->TabDefault; }

void TSyntaxMemoCore::SetTabDefault(int32_t value) {
    // A negative width would break every tab stop computation, not only zero.
    if (value <= 0) throw ESyntaxMemo("=Illegal default tab stop value, must be > 0");
    // A wider one would expand each TAB to an unbounded run of blanks.
    if (value > kMaxTabDefault) throw ESyntaxMemo("=Illegal default tab stop value, must be <= 256");
    settings_->TabDefault = value;
    MarkLines(topLine_, topLine_ + VisibleLines() + 1);
}

void TSyntaxMemoCore::SetTabColumns(const std::string& text) {
    int32_t table[TSM_Settings::kTabColumns];
    std::fill(std::begin(table), std::end(table), -1);
    int count = 0, prev = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == ';') {
            i++;
            continue;
        }
        if (text[i] < '0' || text[i] > '9') throw ESyntaxMemo("Tab stop column value expected");
        // The whole number is read (held at the limit, so it cannot overflow).
        int64_t v = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            v = std::min<int64_t>(v * 10 + (text[i++] - '0'), kMaxTabColumn + 1);
        if (v <= 1) throw ESyntaxMemo("Tab column must be > 1");
        if (v > kMaxTabColumn) throw ESyntaxMemo("Tab column must be < 100000");
        if (v <= prev) throw ESyntaxMemo("Tab columns must be in order and unique");
        if (count == TSM_Settings::kTabColumns) throw ESyntaxMemo("Too many tab stops - maximum of 32");
        table[count++] = static_cast<int32_t>(v - 1);
        prev = static_cast<int>(v);
    }
    std::copy(std::begin(table), std::end(table), settings_->TabColumns);
}

std::string TSyntaxMemoCore::TabColumns() const {
    std::string out;
    for (int32_t v : settings_->TabColumns) {
        if (v < 0) break;
        if (!out.empty()) out += ' ';
        out += std::to_string(v + 1);
    }
    return out;
}

int32_t TSyntaxMemoCore::Gutter() const { return settings_->Gutter; }

void TSyntaxMemoCore::SetGutter(int32_t value) {
    if (clientWidth_ == 0 || value < 0 || (value >= 1 && value <= 33)) return;
    if (static_cast<int64_t>(value) * 100 / clientWidth_ > 20 || value == settings_->Gutter) return;
    settings_->Gutter = value;
    MarkLines(topLine_, topLine_ + VisibleLines() + 1);
    UpdateScrollBars();  // the visible columns changed
    if (view_) view_->ViewInvalidate();
}

int32_t TSyntaxMemoCore::Margin() const { return settings_->Margin; }
void TSyntaxMemoCore::SetMargin(int32_t value) {
    if (value < 0 || value > charWidth_) return;
    settings_->Margin = value;
}

int32_t TSyntaxMemoCore::WrapAtColumn() const { return settings_->WrapAtColumn; }
void TSyntaxMemoCore::SetWrapAtColumn(int32_t value) {
    if (value < 0 || value > 65535 || value == settings_->WrapAtColumn) return;
    settings_->WrapAtColumn = value;
    if (Options() & smoWordWrap) {
        RewrapAll();
        changeFlags_ |= 64;
    }
}

TColor TSyntaxMemoCore::DefTextColor() const { return settings_->Styles[0].TextColor; }
TColor TSyntaxMemoCore::DefBackColor() const { return settings_->Styles[0].BackColor; }
void TSyntaxMemoCore::SetDefTextColor(TColor c) {
    settings_->Styles[0].TextColor = c;
    changeFlags_ |= 8;
    MarkLines(topLine_, topLine_ + VisibleLines() + 1);
}
void TSyntaxMemoCore::SetDefBackColor(TColor c) {
    settings_->Styles[0].BackColor = c;
    MarkLines(topLine_, topLine_ + VisibleLines() + 1);
}

uint8_t TSyntaxMemoCore::DefFontStyle() const { return settings_->Styles[0].FontStyle; }
void TSyntaxMemoCore::SetDefFontStyle(uint8_t style) {
    settings_->Styles[0].FontStyle = style;
    MarkLines(topLine_, topLine_ + VisibleLines() + 1);
}
TColor TSyntaxMemoCore::GutterColor() const { return settings_->GutterColor; }
void TSyntaxMemoCore::SetGutterColor(TColor c) { settings_->GutterColor = c; }
TColor TSyntaxMemoCore::MarginColor() const { return settings_->MarginColor; }
void TSyntaxMemoCore::SetMarginColor(TColor c) { settings_->MarginColor = c; }
TColor TSyntaxMemoCore::SelTextColor() const { return settings_->SelTextColor; }
void TSyntaxMemoCore::SetSelTextColor(TColor c) { settings_->SelTextColor = c; }
TColor TSyntaxMemoCore::SelTextBack() const { return settings_->SelTextBack; }
void TSyntaxMemoCore::SetSelTextBack(TColor c) { settings_->SelTextBack = c; }

std::string TSyntaxMemoCore::WrapOverride() const { return settings_->WrapOverride; }
void TSyntaxMemoCore::SetWrapOverride(const std::string& chars) {
    if (chars == settings_->WrapOverride) return;
    settings_->WrapOverride = chars;
    if (Options() & smoWordWrap) {
        RewrapAll();
        changeFlags_ |= 64;
    }
}

void TSyntaxMemoCore::RederiveFonts() { settings_->RebuildFonts(); }

void TSyntaxMemoCore::SetActiveParser(int32_t value) {
    if (value < 1 || value > 6) throw ESyntaxMemo("Parser index out of range");
    // The window's slots put that highlighter's settings in force.
    activeParser_ = value;
}

void TSyntaxMemoCore::SetActiveSettings(TSM_Settings* settings) {
    if (!settings) settings = own_.get();
    if (settings == settings_) return;
    settings_->Detach();
    settings_ = settings;
    settings_->Attach();
}

TLineNode* TSyntaxMemoCore::LineByNumber(int32_t line) {
    if (store_.LineCount() == 0) return nullptr;
    return store_.NodeAtLine(line > 0 ? line - 1 : 0);  // clamps past the end to the last line
}

void TSyntaxMemoCore::SetLineTextColor(int32_t line, TColor c) {
    if (TLineNode* n = LineByNumber(line)) {
        n->TextColor = c;
        n->Flags |= lfRepaint;
        if (view_) view_->ViewInvalidate();
    }
}

void TSyntaxMemoCore::SetLineBackColor(int32_t line, TColor c) {
    if (TLineNode* n = LineByNumber(line)) {
        n->BackColor = c;
        n->Flags |= lfRepaint;
        if (view_) view_->ViewInvalidate();
    }
}
