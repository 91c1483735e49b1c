// The editor's message interface: the EDIT-style messages the Lines view and
// other callers rely on, and the control's private messages. Every pointer a
// caller passes may be null; every buffer is written within the size given.
#include <algorithm>
#include <climits>
#include <cstring>

#include "KeyboardActionContoller.h"
#include "SM_Settings.h"
#include "Stream.h"
#include "SyntaxMemoCore.h"
#include "UndoStack.h"

const char* const kMemoClipFormatName = "<TSyntaxMemo>:2.00.02";

bool TSyntaxMemoCore::FontIntoSettings(uint8_t charset) {
    TSM_Settings& s = *settings_;
    if (s.FontName == FontName && s.FontSize == FontSize && s.FontCharset == charset) return false;
    s.FontName = FontName;
    s.FontSize = FontSize;
    s.FontCharset = charset;
    return true;
}

namespace {

// SMM_LOADSTREAM's wParam bit: the stream's bytes as they are, NULs included.
const uintptr_t kLoadRaw = 4;
// The lowest 64 KB of an address space are never mapped.
const uintptr_t kFirstAddress = 0x10000;
intptr_t Pack(int32_t lo, int32_t hi) {
    return static_cast<intptr_t>((static_cast<uint32_t>(lo) & 0xFFFF) | ((static_cast<uint32_t>(hi) & 0xFFFF) << 16));
}

}  // namespace

intptr_t TSyntaxMemoCore::Message(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    bool handled = true;
    intptr_t r = msg >= SMM_SELECTION ? PrivateMessage(msg, wParam, lParam, handled)
                                      : EditMessage(msg, wParam, lParam, handled);
    return handled ? r : 0;
}

intptr_t TSyntaxMemoCore::GetTextMessage(uintptr_t capacity, char* buffer) {
    if (!buffer || capacity == 0) return 0;
    // Line ends grow to CR LF: copy at most capacity - 1 characters and a NUL.
    std::string text = PlainText(0, store_.TextLength());
    size_t n = std::min<size_t>(text.size(), capacity - 1);
    memcpy(buffer, text.data(), n);
    buffer[n] = 0;
    return static_cast<intptr_t>(n);
}

intptr_t TSyntaxMemoCore::EditMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam, bool& handled) {
    using namespace smmsg;
    int32_t w = static_cast<int32_t>(wParam);
    switch (msg) {
    case SetText: {
        const char* text = reinterpret_cast<const char*>(lParam);
        TMemoryStream stream;
        if (text) stream.Write(text, static_cast<int32_t>(strlen(text)));
        stream.SetPosition(0);
        LoadFromStream(stream);
        return 1;
    }
    case GetText:
        return GetTextMessage(wParam, reinterpret_cast<char*>(lParam));
    case GetTextLength:
    {
        intptr_t breaks = 0;
        for (TLineNode* n = store_.Head(); n; n = n->Next) breaks += n->EndsWithCR() ? 1 : 0;
        return static_cast<intptr_t>(store_.TextLength()) + breaks;
    }
    case GetSel: {
        if (int32_t* a = reinterpret_cast<int32_t*>(wParam)) *a = anchor_;
        if (int32_t* c = reinterpret_cast<int32_t*>(lParam)) *c = caret_;
        auto p = OrderPair({anchor_, caret_});
        return p.second > 0xFFFF ? -1 : Pack(p.first, p.second);
    }
    case SetSel:
        if (w == 0 && static_cast<int32_t>(lParam) == -1) SetSelection(-1, 0);
        else SetSelection(std::max(w, 0), std::max(static_cast<int32_t>(lParam), 0));
        return 1;
    case LineScroll: {
        // Counts of any size: the sums are taken wide and held in range.
        auto moved = [](int32_t from, int64_t by) {
            return static_cast<int32_t>(std::clamp<int64_t>(from + by, 0, INT32_MAX));
        };
        ScrollTo(moved(leftCol_, static_cast<int32_t>(wParam)), moved(topLine_, static_cast<int32_t>(lParam)));
        return 1;
    }
    case ScrollCaret:
        SetSelection(anchor_, caret_);
        return 1;
    case GetModify:
        return undo_.Modified() ? 1 : 0;
    case GetLineCount:
        return std::max(1, store_.LineCount());
    case LineIndex:
        if (w == -1) return store_.LineStart(LineOfOffset(caret_));
        return store_.LineStart(w);
    case LineLength: {
        if (store_.LineCount() == 0 || w < 0 || w > store_.TextLength()) return 0;
        TLineNode* n = store_.NodeAtOffset(w);
        return n->Len - (n->EndsWithCR() ? 1 : 0);
    }
    case ReplaceSel: {
        const char* text = reinterpret_cast<const char*>(lParam);
        ReplaceSelection(text, text ? static_cast<int32_t>(strlen(text)) : 0);
        UpdateScrollBars();
        ScrollIntoView(caret_);
        if (view_) view_->ViewInvalidate();
        return 1;
    }
    case GetLine: {
        char* buffer = reinterpret_cast<char*>(lParam);
        TLineNode* n = w >= 0 ? store_.LineAt(w) : nullptr;
        if (!buffer || !n) return 0;
        uint16_t capacity;
        memcpy(&capacity, buffer, sizeof capacity);
        int32_t len = std::min<int32_t>(n->Len - (n->EndsWithCR() ? 1 : 0), capacity);
        memcpy(buffer, n->Text, static_cast<size_t>(len));
        return len;
    }
    case CanUndo:
        return undo_.CanUndo() ? 1 : 0;
    case smmsg::Undo:
        if (undo_.CanUndo()) undo_.Undo();
        if (view_) view_->ViewInvalidate();
        return 1;
    case LineFromChar:
        return LineOfOffset(w == -1 ? caret_ : w);
    case EmptyUndoBuffer:
        undo_.Clear();
        return 0;
    case GetFirstVisibleLine:
        return topLine_;
    case PosFromChar: {
        // The point goes to wParam and the offset comes in lParam. A value
        // below 0x10000 is never an address: a standard caller's character
        // index, which then is the offset.
        bool point = wParam >= kFirstAddress;
        int32_t offset = point || wParam == 0 ? static_cast<int32_t>(lParam) : static_cast<int32_t>(wParam);
        int32_t x = 0, y = 0;
        PointOfOffset(offset, x, y);
        if (point) {
            int32_t* pt = reinterpret_cast<int32_t*>(wParam);
            pt[0] = x;
            pt[1] = y;
        }
        return Pack(x, y);
    }
    case CharFromPos: {
        // lParam points to the client point (a value below 0x10000: none).
        if (static_cast<uintptr_t>(lParam) < kFirstAddress) return -1;
        const int32_t* pt = reinterpret_cast<const int32_t*>(lParam);
        int32_t x = pt[0], y = pt[1];
        if (x >= clientWidth_ || x < TextLeft() || y >= clientHeight_ || y < 0 || store_.LineCount() == 0) return -1;
        return OffsetOfPoint(x, y);
    }
    case HScroll:
    case VScroll: {
        bool vertical = msg == VScroll;
        int32_t code = static_cast<int32_t>(wParam & 0xFFFF), pos = static_cast<int32_t>((wParam >> 16) & 0xFFFF);
        int32_t value = vertical ? topLine_ : leftCol_;
        int32_t page = vertical ? VisibleLines() : VisibleCols();
        // Paging sideways moves by the client's width in characters, margin and gutter included.
        int32_t jump = vertical ? page : clientWidth_ / charWidth_;
        switch (code) {
        case 0: value--; break;
        case 1: value++; break;
        case 2: value -= jump; break;
        case 3: value += jump; break;
        case 5: value = vertical ? pos * VerticalScroll().Scale : pos; break;
        // Top and bottom carry no position: they go to the ends.
        case 6: value = 0; break;
        case 7: value = vertical ? store_.LineCount() - page : maxLineLen_ - page; break;
        default: return 0;
        }
        if (vertical) ScrollTo(leftCol_, value);
        else ScrollTo(value, topLine_);
        return 0;
    }
    default:
        handled = false;
        return 0;
    }
}

intptr_t TSyntaxMemoCore::SetLineStyles(const int32_t* range, const uint8_t* buffer, bool get) {
    // range: first line, last line (-1: the end), size of buffer in bytes.
    if (!range || !buffer || range[2] <= 0) return 0;
    int32_t first = std::max(range[0], 0), last = range[1] < 0 ? INT32_MAX : range[1];
    int32_t size = range[2], used = 0;
    TLineNode* n = store_.LineAt(first);
    for (int32_t i = first; n && i <= last; i++, n = n->Next) {
        if (used + n->Len > size) break;
        if (get) {
            uint8_t* out = const_cast<uint8_t*>(buffer) + used;
            if (n->Styles) memcpy(out, n->Styles, n->Len);
            else memset(out, 0, n->Len);
        } else {
            if (!n->Styles && n->Len) n->Styles = new uint8_t[n->Len];
            if (n->Len) memcpy(n->Styles, buffer + used, n->Len);
            n->Flags |= lfRepaint | lfChanged;
        }
        used += n->Len;
    }
    if (!get && view_) view_->ViewInvalidate();
    return used;
}

intptr_t TSyntaxMemoCore::PrivateMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam, bool& handled) {
    bool set = (wParam & 1) != 0, repaint = (wParam & 2) == 0;
    switch (msg) {
    case SMM_SELECTION: {
        int32_t* pair = reinterpret_cast<int32_t*>(lParam);
        if (!pair) return 0;
        if (set) SetSelection(pair[0], pair[1], repaint);
        else {
            pair[0] = anchor_;
            pair[1] = caret_;
        }
        return 1;
    }
    case SMM_OPTIONS:
        if (set) SetOptions(static_cast<int32_t>(lParam));
        return Options();
    case SMM_INSERTTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        ReplaceSelection(text, text ? static_cast<int32_t>(strlen(text)) : 0);
        if (repaint && redraw_) {
            UpdateScrollBars();
            ScrollIntoView(caret_);
            if (view_) view_->ViewInvalidate();
        }
        return 1;
    }
    case SMM_HOLDDISPLAY:
        if (set) {
            displayHeld_ = lParam != 0;
            // What changed while held was neither measured nor shown.
            if (!displayHeld_ && repaint) {
                MeasureLines();
                ScrollIntoView(caret_);
                UpdateScrollBars();
                MarkLines(topLine_, topLine_ + VisibleLines() + 1);
                if (view_) view_->ViewInvalidate();
            }
        }
        return displayHeld_ ? 1 : 0;
    case SMM_LOADSTREAM: {
        TStream* s = reinterpret_cast<TStream*>(lParam);
        if (!s) return 0;
        // Read whole: a CR at the very end is a line break, never held back.
        std::string text(static_cast<size_t>(std::max<int64_t>(0, s->Size() - s->Position())), '\0');
        if (!text.empty()) text.resize(static_cast<size_t>(std::max(0, s->Read(&text[0], static_cast<int32_t>(text.size())))));
        // Without raw lengths the text is zero-terminated.
        if (!(wParam & kLoadRaw)) text.resize(std::min(text.size(), text.find('\0')));
        ReplaceSelection(text.data(), static_cast<int32_t>(text.size()));
        changeFlags_ |= 1;
        if (repaint) {
            UpdateScrollBars();
            ScrollIntoView(caret_);
            Change();
            if (view_) view_->ViewInvalidate();
        }
        return 1;
    }
    case SMM_SAVESTREAM: {
        TStream* s = reinterpret_cast<TStream*>(lParam);
        if (!s) return 0;
        std::string text = ExportSelection(static_cast<int32_t>(wParam));
        s->Write(text.data(), static_cast<int32_t>(text.size()));
        return static_cast<intptr_t>(text.size());
    }
    case SMM_GETSELTEXT: {
        std::string text = ExportSelection(static_cast<int32_t>(wParam));
        if (char* out = reinterpret_cast<char*>(lParam)) {
            memcpy(out, text.c_str(), text.size() + 1);
        }
        return static_cast<intptr_t>(text.size());
    }
    case SMM_MODIFIED:
        if (set) undo_.SetModified((lParam & 0xFF) != 0);
        return undo_.Modified() ? 1 : 0;
    case SMM_TOPLINE:
        if (set) ScrollTo(leftCol_, static_cast<int32_t>(lParam));
        return topLine_;
    case SMM_LEFTCOLUMN:
        if (set) ScrollTo(static_cast<int32_t>(lParam), topLine_);
        return leftCol_;
    case SMM_CANREDO:
        return undo_.CanRedo() ? 1 : 0;
    case SMM_REDO:
        if (undo_.CanRedo()) undo_.Redo();
        if (view_) view_->ViewInvalidate();
        return 1;
    case SMM_SETTINGSCHANGED:
        if (view_ && !settings_->FontName.empty() &&
            (settings_->FontName != FontName || settings_->FontSize != FontSize))
            view_->ViewSettingsFont(settings_->FontName, settings_->FontSize);
        if (Options() & smoWordWrap) RewrapAll();
        shiftFree_ = ShiftFreeKeys(*settings_->KeyController);
        changeFlags_ |= 8;
        MarkLines(topLine_, topLine_ + VisibleLines() + 1);
        Change();
        UpdateScrollBars();
        if (view_) view_->ViewInvalidate();
        return 0;
    case SMM_INDENT:
        IndentBlock(static_cast<int32_t>(wParam), lParam != 0);
        if (view_) view_->ViewInvalidate();
        return 0;
    case SMM_UNINDENT:
        UnindentBlock(static_cast<int32_t>(wParam));
        if (view_) view_->ViewInvalidate();
        return 0;
    case SMM_UNDOLOG:
        // Another log (or none) records this control's edits from now on.
        if (set) {
            undo_.SetLog(reinterpret_cast<TUndoStack*>(lParam));
            Change();
        }
        return reinterpret_cast<intptr_t>(undo_.Log());
    case SMM_CLIPFORMATNAME:
        return reinterpret_cast<intptr_t>(kMemoClipFormatName);
    case SMM_SETLINESTYLES:
    case SMM_GETLINESTYLES:
        return SetLineStyles(reinterpret_cast<const int32_t*>(wParam), reinterpret_cast<const uint8_t*>(lParam),
                             msg == SMM_GETLINESTYLES);
    default:
        handled = false;
        return 0;
    }
}
