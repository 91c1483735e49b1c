// Editor commands 0..44, key matching through the key map, word selection
// and numbered bookmarks of the headless editor.
#include <algorithm>

#include "PlainSearch.h"
#include "SM_Settings.h"
#include "EdStream.h"
#include "SyntaxMemoCore.h"
#include "SyntaxMemoErrors.h"

namespace {
const int32_t kGroupDeleteWord = 19;
int32_t TextLen(const TLineNode* n) { return n ? n->Len - (n->EndsWithCR() ? 1 : 0) : 0; }
}  // namespace

void TSyntaxMemoCore::MoveCaret(int32_t offset, bool extend) {
    offset = std::clamp(offset, 0, store_.TextLength());
    SetSelection(extend ? anchor_ : offset, offset);
}

int32_t TSyntaxMemoCore::VerticalMove(int32_t lines) {
    if (store_.LineCount() == 0) return 0;
    int32_t line = std::clamp(LineOfOffset(caret_) + lines, 0, store_.LineCount() - 1);
    int32_t start = 0;
    TLineNode* n = store_.LineAt(line, &start);
    int32_t col = caretCol_;
    int32_t offset = start + CharIndexOfColumn(n, col);
    keepColumn_ = true;
    return offset;
}

bool TSyntaxMemoCore::CharIsInWord(uint8_t c) const {
    return fn_CharIsInWord ? fn_CharIsInWord(c) : DefaultCharIsInWord(c);
}

bool TSyntaxMemoCore::CharStartsWord(uint8_t c) const {
    return fn_CharStartsWord ? fn_CharStartsWord(c) : DefaultCharStartsWord(c);
}

int32_t TSyntaxMemoCore::WordBreak(const char* text, int32_t pos, int32_t kind, int32_t len) const {
    if (OnWordBreakProc) return OnWordBreakProc(text, pos, kind, len);
    auto blank = [text](int32_t i) { return IsBreakChar(static_cast<uint8_t>(text[i])); };
    switch (kind) {
    case 0:
        if (pos < len && blank(pos)) {
            while (pos < len && blank(pos)) pos++;
            return pos;
        }
        while (pos > 0 && !blank(pos - 1)) pos--;
        return pos;
    case 1:
        while (pos < len && !blank(pos)) pos++;
        while (pos < len && blank(pos)) pos++;
        return pos;
    case 2:
        return pos < len && blank(pos) ? 1 : 0;
    default:
        return 0;
    }
}

// Both walk the text from the offset one character at a time: a press near
// the end of a long text touches only the characters it passes.
int32_t TSyntaxMemoCore::WordStartBefore(int32_t offset) {
    if (offset <= 0 || store_.LineCount() == 0) return offset;
    int32_t p = std::min(offset, store_.TextLength());
    TEdStream s(&store_);
    int32_t start = 0;
    TLineNode* node = store_.NodeAtOffset(p, &start);
    s.StartAt(node, p - start, start);
    auto at = [&](int32_t i) {
        s.MoveTo(i);
        return s.CurChar();
    };
    auto in = [&](int32_t i) { return CharIsInWord(at(i)); };
    while (p > 0 && !in(p - 1)) p--;
    if (p == 0) return -1;
    while (p > 0 && in(p - 1)) p--;
    // A word does not begin with a character that cannot start one.
    while (p < offset && !CharStartsWord(at(p)) && in(p)) p++;
    return p < offset ? p : -1;
}

int32_t TSyntaxMemoCore::WordEndAfter(int32_t offset) {
    int32_t len = store_.TextLength();
    if (store_.LineCount() == 0 || offset < 0 || offset >= len) return offset;
    TEdStream s(&store_);
    int32_t start = 0;
    TLineNode* node = store_.NodeAtOffset(offset, &start);
    s.StartAt(node, offset - start, start);
    int32_t p = offset;
    auto step = [&] {
        s.Next();
        p++;
    };
    if (CharStartsWord(s.CurChar())) step();
    while (p < len && CharIsInWord(s.CurChar())) step();
    while (p < len && !CharIsInWord(s.CurChar())) step();
    return p;
}

void TSyntaxMemoCore::SelectWordAt(int32_t offset) {
    if (store_.LineCount() == 0) return;
    int32_t start = 0;
    TLineNode* n = store_.NodeAtOffset(offset, &start);
    int32_t k = offset - start, len = TextLen(n);
    int32_t a = std::min(k, len), b = a;
    while (a > 0 && CharIsInWord(static_cast<uint8_t>(n->Text[a - 1]))) a--;
    while (b < len && CharIsInWord(static_cast<uint8_t>(n->Text[b]))) b++;
    SetSelection(start + a, start + b);
}

void TSyntaxMemoCore::SetBookmark(int n) {
    if (n >= 0 && n <= 9) SetBookmarkAt(n, -1, 0);
}

int32_t TSyntaxMemoCore::BookmarkLine(int n) {
    int32_t i = 0;
    for (TLineNode* p = store_.Head(); p; p = p->Next, i++)
        if (n >= 0 && n <= 9 && (p->GutterMarks & (1u << n))) return i;
    return -1;
}

void TSyntaxMemoCore::GotoBookmark(int n) {
    if (n < 0 || n > 9) throw ESyntaxMemo("Bookmark index range error");
    int32_t line = BookmarkLine(n);
    if (line < 0) return;
    int32_t start = 0;
    TLineNode* node = store_.LineAt(line, &start);
    // Before the line's last character (its CR) at most; on an empty line its start.
    int32_t col = std::max(std::min<int32_t>(bookmarkCols_[n], node->Len) - 1, 0);
    SetSelection(start + col, start + col);
}

void TSyntaxMemoCore::ExecuteCommand(int32_t command) {
    bool ext = extend_;
    extend_ = false;
    int32_t start = 0;
    TLineNode* line = store_.LineCount() ? store_.NodeAtOffset(caret_, &start) : nullptr;
    auto sel = OrderPair({anchor_, caret_});
    switch (command) {
    case caLEFT: MoveCaret(!ext && sel.first != sel.second ? sel.first : caret_ - 1, ext); break;
    case caRIGHT: MoveCaret(!ext && sel.first != sel.second ? sel.second : caret_ + 1, ext); break;
    case caLINEHOME: MoveCaret(start, ext); break;
    case caLINEEND: MoveCaret(start + TextLen(line), ext); break;
    case caUP: MoveCaret(VerticalMove(-1), ext); break;
    case caDOWN: MoveCaret(VerticalMove(1), ext); break;
    case caPAGEUP:
    case caPAGEDOWN: {
        // The view moves by the page as the caret does (not only far enough
        // to show it); nothing on the first / last line.
        int32_t page = command == caPAGEUP ? -std::max(1, VisibleLines()) : std::max(1, VisibleLines());
        int32_t lineNo = LineOfOffset(caret_);
        if (page < 0 ? lineNo <= 0 : lineNo >= store_.LineCount() - 1) break;
        int32_t target = VerticalMove(page);
        // Without column tracking a page lands at the start of its line.
        if (!(Options() & smoColumnTrack)) target = store_.LineStart(LineOfOffset(target));
        // Paging down stops with the last line at the bottom row.
        int32_t top = topLine_ + page;
        if (page > 0) top = std::min(top, std::max(topLine_, store_.LineCount() - std::max(1, VisibleLines())));
        ScrollTo(leftCol_, top);
        MoveCaret(target, ext);
        break;
    }
    case caWORDLEFT: {
        int32_t word = WordStartBefore(caret_);
        if (word >= 0) MoveCaret(word, ext);
        break;
    }
    case caWORDRIGHT: MoveCaret(WordEndAfter(caret_), ext); break;
    case caDOCSTART: MoveCaret(0, ext); break;
    case caDOCEND: MoveCaret(store_.TextLength(), ext); break;
    case caCUT: if (!ReadOnly && OnClipboardCut) OnClipboardCut(); break;
    case caCOPY: if (OnClipboardCopy) OnClipboardCopy(); break;
    case caPASTE: if (!ReadOnly && OnClipboardPaste) OnClipboardPaste(); break;
    case caDELETE:
    case caBACKSPACE:
        if (ReadOnly) break;
        if (sel.first == sel.second) {
            int32_t other = command == caDELETE ? caret_ + 1 : caret_ - 1;
            if (other < 0 || other > store_.TextLength()) break;
            SetSelection(caret_, other, false);
        }
        ReplaceSelection("", 0);
        ScrollIntoView(caret_);
        break;
    case caINSTOGGLE:
        InsertMode = !InsertMode;
        changeFlags_ |= 32;
        break;
    case caDELETELINE:
        if (ReadOnly || !line || sel.first != sel.second) break;
        SetSelection(start, start + line->Len, false);
        ReplaceSelection("", 0);
        break;
    case caUNDO: if (!ReadOnly && undo_.CanUndo()) undo_.Undo(); break;
    case caREDO: if (!ReadOnly && undo_.CanRedo()) undo_.Redo(); break;
    case caDELPREVWORD: {
        // Nothing before the caret to take: no edit, nothing to undo.
        int32_t word = WordStartBefore(caret_);
        if (ReadOnly || word < 0 || word == caret_) break;
        undo_.OpenGroup(kGroupDeleteWord);
        SetSelection(anchor_, word, false);
        ReplaceSelection("", 0);
        undo_.CloseGroup(kGroupDeleteWord);
        break;
    }
    case caPRINTSEL: if (OnPrintSelection) OnPrintSelection(); break;
    case caBLOCKIND: if (!ReadOnly) Message(SMM_INDENT, 0, 1); break;  // smoUseTAB decides on TABs
    case caBLOCKUND: if (!ReadOnly) Message(SMM_UNINDENT, 0, 0); break;
    default:
        if (command >= caSETBOOKMARK0 && command < caSETBOOKMARK0 + 10) SetBookmark(command - caSETBOOKMARK0);
        else if (command >= caGOTOBOOKMARK0 && command < caGOTOBOOKMARK0 + 10) GotoBookmark(command - caGOTOBOOKMARK0);
        break;
    }
    changeFlags_ |= 128;
    Change();
    if (view_) view_->ViewInvalidate();
}

bool TSyntaxMemoCore::HandleKey(uint16_t key, uint8_t shift) {
    TKeyboardActionContoller& map = *settings_->KeyController;
    bool extend = false;
    // Inside a sequence the map drops Shift itself; at the first stroke a
    // movement key with Shift runs the plain command extending the selection.
    if (!map.Store->InSequence() && (shift & ssShift) && key < 256 && shiftFree_.Has(static_cast<uint8_t>(key))) {
        extend = true;
        shift = static_cast<uint8_t>(shift & ~ssShift);
    }
    bool handled = false;
    TKeyMatch m = map.HandleKey(key, shift, handled);
    if (m == TKeyMatch::Recognised) {
        int32_t command = map.Store->LastCommand;
        changeFlags_ |= 128;
        if (OnCommandRecognised) OnCommandRecognised(command);
        extend_ = extend;
        ExecuteCommand(command);
    }
    return handled;
}
