#include "SyntaxMemo.h"

#include <shellapi.h>

#include "SyntaxMemoGutter.h"
#include "CustomBookmarks.h"

#include <algorithm>

#include "SyntaxMemoFind.h"
#include "SyntaxMemoFonts.h"
#include "SyntaxMemoOleLink.h"
#include "SyntaxMemoSlots.h"
#include "RescanPass.h"
#include "SyntaxMemoMacros.h"

namespace {

// The core's surface over a device context: fixed-pitch cells of charWidth,
// or proportional text in its own advances.
class TDCSurface : public TDrawSurface {
public:
    TDCSurface(HDC dc, TMemoFonts& fonts, int charWidth, int lineHeight, bool proportional, HIMAGELIST images = nullptr)
        : dc_(dc), fonts_(&fonts), font_(fonts.Base()), cw_(charWidth), lh_(lineHeight), proportional_(proportional),
          images_(images) {
        old_ = SelectObject(dc, font_);
    }
    void SelectStyle(uint8_t style) override {
        HFONT f = fonts_->ForStyle(style);
        if (f != font_) SelectObject(dc_, font_ = f);
    }
    void GutterImage(int list, int index, int x, int y, int rowHeight) override {
        memogutter::DrawImage(images_, dc_, list == 2 ? memogutter::kWrapGlyph : index, x, y, rowHeight);
    }
    void Polyline(const int* xy, int points, TColor color) override {
        std::vector<POINT> pts(static_cast<size_t>(points));
        for (int i = 0; i < points; i++) pts[static_cast<size_t>(i)] = POINT{xy[2 * i], xy[2 * i + 1]};
        HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(color));
        HGDIOBJ old = SelectObject(dc_, pen);
        ::Polyline(dc_, pts.data(), points);
        SelectObject(dc_, old);
        DeleteObject(pen);
    }
    uintptr_t Context() const override { return reinterpret_cast<uintptr_t>(dc_); }
    ~TDCSurface() override { SelectObject(dc_, old_); }
    void FillRect(int x, int y, int w, int h, TColor color) override {
        if (w <= 0 || h <= 0) return;
        SetBk(color);
        RECT r{x, y, x + w, y + h};
        ExtTextOutA(dc_, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    }
    void TextRun(int x, int y, const char* text, int count, TColor fg, TColor bg, int clipRight) override {
        if (count <= 0 || x >= clipRight) return;
        if (count == 1 && text[0] == kTabMarker) {
            memogutter::DrawTabMarker(dc_, x, y, cw_, lh_, ColorToRGB(fg), ColorToRGB(bg));
            text_ = back_ = CLR_INVALID;
            return;
        }
        if (proportional_) {
            // Measured, and cut one character past the right edge. The glyphs
            // are placed at the measured advances: some renderers draw
            // narrower than they measure, which would open gaps between runs.
            SIZE size{};
            advance_.resize(static_cast<size_t>(count));
            GetTextExtentExPointA(dc_, text, count, 0, nullptr, advance_.data(), &size);
            int shown = 0;
            while (shown < count && x + advance_[static_cast<size_t>(shown)] < clipRight) shown++;
            count = std::min(count, shown + 1);
            if (text[count - 1] > 0 && text[count - 1] < 32) count--;
            if (count <= 0) return;
            int width = advance_[static_cast<size_t>(count - 1)];
            for (int i = count - 1; i > 0; i--) advance_[static_cast<size_t>(i)] -= advance_[static_cast<size_t>(i - 1)];
            RECT r{x, y, std::min(x + width, clipRight), y + lh_};
            SetColors(fg, bg);
            ExtTextOutA(dc_, x, y, ETO_OPAQUE | ETO_CLIPPED, &r, text, static_cast<UINT>(count), advance_.data());
            return;
        }
        // Output past the right edge is cut to about 1.5 times what fits.
        int fits = std::max(1, (clipRight - x + cw_ - 1) / cw_);
        count = std::min(count, fits + fits / 2 + 1);
        if (text[count - 1] > 0 && text[count - 1] < 32) count--;
        RECT r{x, y, std::min(x + count * cw_, clipRight), y + lh_};
        // The advance table is sized to the run, however long it is.
        advance_.assign(static_cast<size_t>(std::max(count, 1)), cw_);
        SetColors(fg, bg);
        ExtTextOutA(dc_, x, y, ETO_OPAQUE | ETO_CLIPPED, &r, text, static_cast<UINT>(count), advance_.data());
    }

private:
    void SetColors(TColor fg, TColor bg) {
        SetBk(bg);
        COLORREF t = ColorToRGB(fg);
        if (t != text_) SetTextColor(dc_, text_ = t);
    }
    void SetBk(TColor c) {
        COLORREF b = ColorToRGB(c);
        if (b != back_) SetBkColor(dc_, back_ = b);
    }
    HDC dc_;
    HGDIOBJ old_;
    TMemoFonts* fonts_;
    HFONT font_;
    int cw_, lh_;
    bool proportional_;
    COLORREF text_ = CLR_INVALID, back_ = CLR_INVALID;
    std::vector<INT> advance_;
    HIMAGELIST images_;
};

}  // namespace

TSyntaxMemo::TSyntaxMemo(TWinControl* parent) : TWinControl(parent), lines_(*this) {
    SetBounds(0, 0, 185, 89);
    SetTabStop(true);
    core_.SetView(this);
    core_.OnChange = [this] {
        // A form being designed raises no change events (painting still
        // brings the highlighting up to date).
        if (Designing) return;
        if (slots_) slots_->Run();
        if (OnChange) OnChange(this);
    };
    core_.OnTextChange = [this](int32_t start, int32_t count) {
        if (OnTextChange) OnTextChange(this, start, count);
    };
    core_.OnCommandRecognised = [this](int32_t& command) {
        if (OnCommandRecognised) OnCommandRecognised(this, command);
    };
    core_.OnClipboardCopy = [this] { CopyToClipboard(); };
    core_.OnClipboardCut = [this] { CutToClipboard(); };
    core_.OnClipboardPaste = [this] { PasteFromClipboard(); };
    core_.OnPrintSelection = [this] { Print(); };
    core_.CompleteHighlighting = [this] {
        if (slots_) slots_->CompleteAll();
    };
    core_.OnStylesDropped = [this] {
        if (slots_) slots_->Restyle();
    };
    core_.DateText = [] { return MemoLocalText(true); };
    core_.TimeText = [] { return MemoLocalText(false); };
    rtfFormat_ = RegisterClipboardFormatA("Rich Text Format");
    core_.OnDrawMark = [this](TDrawSurface& s, TTextMark& mark, int l, int t, int r, int b) {
        if (!OnDrawMark) return false;
        OnDrawMark(this, reinterpret_cast<HDC>(s.Context()), &mark, RECT{l, t, r, b});
        return true;
    };
    core_.Marks().OnChange = [this](intptr_t mark) {
        if (OnMarkChange) OnMarkChange(this, mark);
    };
    core_.Marks().OnFree = [this](intptr_t mark) {
        if (OnMarkFree) OnMarkFree(this, mark);
    };
    core_.Bookmarks().OnFree = [this](const std::string& name) {
        if (OnCustomBookmarkFree) OnCustomBookmarkFree(this, name);
    };
    core_.OnBookmarkSet = [this](int n) {
        if (OnBookmarkSet) OnBookmarkSet(this, n);
    };
    ole_.reset(new TSyntaxMemoOle(core_, *this));
    ole_->OnDataDrop = [this](uint16_t& types) {
        if (OnDataDrop) OnDataDrop(this, types);
    };
    ole_->OnDropMoved = [this] { ShowDropCaret(); };
    ole_->OnFilesDropped = [this](std::vector<std::string>& files, POINT at) {
        if (!OnFilesDropped) return false;
        OnFilesDropped(this, files, at);
        return true;
    };
    fonts_.reset(new TMemoFonts(core_));
    core_.SetMeasurer(fonts_.get());
    Font().SetName("Courier New");
    Font().SetSize(10);
    // A new font is measured and the text laid out again.
    Font().OnChange = [this, sendFont = Font().OnChange] {
        if (sendFont) sendFont();
        if (Destroying()) return;
        MeasureFont();
        if (WordWrap()) core_.RewrapAll();
        Resized();
        ViewInvalidate();
        if (!fontFromSettings_) FontIntoSettings();
    };
    MeasureFont();
    macros_.reset(new TSyntaxMemoMacros(*this));
}

TSyntaxMemo::~TSyntaxMemo() {
    BeginDestroy();
    // Bookmarks freed with the text raise no events of a control that is going.
    core_.Bookmarks().OnFree = nullptr;
    ole_.reset();
    slots_.reset();
    macros_.reset();
    core_.SetView(nullptr);
    core_.SetMeasurer(nullptr);
    if (images_) ImageList_Destroy(images_);
    FreeBackBuffer();
}

TSyntaxMemoFind& TSyntaxMemo::Search() {
    if (!find_) {
        find_.reset(new TSyntaxMemoFind(core_, *this));
        find_->OnSearchFail = [this](const std::string& text) {
            if (!OnSearchFail) return false;
            OnSearchFail(this, text);
            return true;
        };
    }
    return *find_;
}

TSyntaxMemoSlots& TSyntaxMemo::Slots() {
    if (!slots_) {
        slots_ = TSyntaxMemoSlots::Make(core_, *this, *this, [this] { Resized(); });
        slots_->OnSlotSet = [this] { SettingChanged(false); };
        slots_->Pass().OnTokenSeen = [this](int32_t& token, int32_t start, int32_t end) {
            if (OnTokenSeen) OnTokenSeen(this, token, start, end);
        };
    }
    return *slots_;
}
void TSyntaxMemo::SetWantTokenText(bool want) { Slots().Pass().WantTokenText = want; }
const std::string& TSyntaxMemo::TokenText() { return Slots().Pass().TokenText(); }
TSyntaxMemoParser* TSyntaxMemo::Parser(int slot) const { return slots_ ? slots_->Parser(slot) : nullptr; }
void TSyntaxMemo::SetParser(int slot, TSyntaxMemoParser* parser) { Slots().SetParser(slot, parser); }
void TSyntaxMemo::SetActiveParser(int32_t value) { Slots().SetActiveParser(value); }
TSyntaxMemoParser* TSyntaxMemo::ActiveParserObject() const { return slots_ ? slots_->ActiveParserObject() : nullptr; }
void TSyntaxMemo::Loaded() {
    // Text read with the form is where editing starts: nothing to undo.
    SetModified(false);
    Slots().Loaded();
    ViewInvalidate();
}

void TSyntaxMemo::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && !Destroying() && slots_) slots_->Removed(AComponent);
}

void TSyntaxMemo::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style |= WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
    if (borderStyle_ == 1) p.ExStyle |= WS_EX_CLIENTEDGE;
    p.Caption.clear();
    p.WinClassName = "TSyntaxMemo";
    p.Cursor = LoadCursor(nullptr, IDC_IBEAM);
}

void TSyntaxMemo::SetBorderStyle(int style) {
    if (style != 0 && style != 1) return;
    if (style == borderStyle_) return;
    borderStyle_ = style;
    RecreateHandle();
}

void TSyntaxMemo::WndCreated() {
    // A new window has no scroll bars set yet, no caret and no flush posted.
    for (Bar& b : bars_) b.setMax = b.setPage = b.setPos = -1;
    flushPosted_ = false;
    invalidPending_ = false;
    windowThread_ = GetCurrentThreadId();
    caretMade_ = caretShown_ = dropCaret_ = false;
    core_.UpdateScrollBars();
    if (core_.Options() & smoProcessDroppedFiles) DragAcceptFiles(Handle(), TRUE);
    ole_->Register(Handle());
    Resized();
}

void TSyntaxMemo::MeasureFont() {
    fonts_->SetFont(Font().Name(), Font().Height());
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, fonts_->Base());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SIZE w{}, i{};
    GetTextExtentPoint32A(dc, "W", 1, &w);
    GetTextExtentPoint32A(dc, "i", 1, &i);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    int lineHeight = tm.tmHeight + tm.tmExternalLeading + 1;
    bool fixed = w.cx == i.cx;
    int charWidth = fixed && w.cx > 0 ? w.cx : tm.tmAveCharWidth;
    core_.SetMetrics(charWidth, lineHeight > 1 ? lineHeight : 17, fixed);
    core_.FontName = Font().Name();
    core_.FontSize = Font().Size();
}

void TSyntaxMemo::FontIntoSettings() {
    if (core_.FontIntoSettings(DEFAULT_CHARSET) && ActiveParserObject()) RepaintThroughHighlighter(true, true);
}

void TSyntaxMemo::ViewSettingsFont(const std::string& name, int32_t size) {
    if (fontFromSettings_) return;
    fontFromSettings_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{fontFromSettings_};
    Font().SetName(name);
    if (size > 0) Font().SetSize(size);
}

void TSyntaxMemo::Resized() {
    if (!HandleAllocated()) return;
    RECT r;
    GetClientRect(Handle(), &r);
    core_.SetClientSize(r.right, r.bottom);
}

void TSyntaxMemo::PaintTo(HDC dc) {
    if (slots_) slots_->BeforePaint();
    if (!images_) images_ = memogutter::MakeImages();
    TDCSurface surface(dc, *fonts_, core_.CharWidth(), core_.LineHeight(), !core_.FixedPitch(), images_);
    core_.Paint(surface);
}

HDC TSyntaxMemo::BackBuffer(HDC like, int w, int h) {
    if (backDC_ && (w > backW_ || h > backH_)) FreeBackBuffer();
    if (!backDC_) {
        backDC_ = CreateCompatibleDC(like);
        backBitmap_ = CreateCompatibleBitmap(like, w, h);
        if (!backDC_ || !backBitmap_) {
            FreeBackBuffer();
            return nullptr;
        }
        backOld_ = SelectObject(backDC_, backBitmap_);
        backW_ = w;
        backH_ = h;
    }
    return backDC_;
}

void TSyntaxMemo::FreeBackBuffer() {
    if (backDC_ && backOld_) SelectObject(backDC_, backOld_);
    if (backBitmap_) DeleteObject(backBitmap_);
    if (backDC_) DeleteDC(backDC_);
    backDC_ = nullptr;
    backBitmap_ = nullptr;
    backOld_ = nullptr;
    backW_ = backH_ = 0;
}

void TSyntaxMemo::PaintClient(HDC dc) {
    RECT r;
    GetClientRect(Handle(), &r);
    if (r.right <= 0 || r.bottom <= 0) return;
    // Drawn into a memory bitmap first, so the rows never flicker.
    if (HDC mem = BackBuffer(dc, r.right, r.bottom)) {
        PaintTo(mem);
        BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
    } else {
        PaintTo(dc);
    }
}

void TSyntaxMemo::Paint(TCanvas& canvas) {
    invalidPending_ = false;
    PaintClient(canvas.Handle());
    PlaceCaret();
}

void TSyntaxMemo::Repaint() {
    if (!HandleAllocated() || !IsWindowVisible(Handle())) {
        TWinControl::Repaint();
        return;
    }
    // Through the window's own device context: no paint message, no update
    // region asked for. A pending invalidation stays and paints once more
    // when the messages run, so a burst of lines ends on one paint.
    bool caretHidden = caretMade_ && caretShown_ && HideCaret(Handle());
    if (HDC dc = GetDC(Handle())) {
        PaintClient(dc);
        ReleaseDC(Handle(), dc);
    }
    if (caretHidden) ShowCaret(Handle());
    PlaceCaret();
}

void TSyntaxMemo::MakeCaret(int width) {
    caretWidth_ = width;
    caretAt_ = {-1, -1};
    caretMade_ = CreateCaret(Handle(), nullptr, width, core_.LineHeight()) != 0;
    caretShown_ = caretMade_ && ShowCaret(Handle());
}

void TSyntaxMemo::PlaceCaret() {
    if (!caretMade_) return;
    // Insert mode or the block option changed: the caret is made again.
    if (!dropCaret_ && core_.CaretWidth() != caretWidth_) {
        DestroyCaret();
        MakeCaret(core_.CaretWidth());
        if (!caretMade_) return;
    }
    int32_t at = ole_ && ole_->DropPosition() >= 0 ? ole_->DropPosition() : core_.Caret();
    int32_t x, y;
    core_.PointOfOffset(at, x, y);
    // Scrolled out of the text area, the caret is hidden, not drawn in the gutter.
    bool inside = x >= core_.TextLeft() && x < core_.ClientWidth() && y >= 0 && y < core_.ClientHeight();
    if (inside != caretShown_) caretShown_ = inside ? ShowCaret(Handle()) != 0 : !HideCaret(Handle());
    if (x == caretAt_.x && y == caretAt_.y) return;
    if (SetCaretPos(x, y)) caretAt_ = {x, y};
}

void TSyntaxMemo::ShowDropCaret() {
    bool over = ole_->DropPosition() >= 0;
    // Without the focus the control has no caret: one is made for the drag only.
    if (over && !caretMade_ && Handle()) {
        MakeCaret(2);
        dropCaret_ = caretMade_;
    } else if (!over && dropCaret_) {
        DestroyCaret();
        caretMade_ = dropCaret_ = false;
    }
    PlaceCaret();
}

void TSyntaxMemo::FocusChanged(bool gained) {
    dropCaret_ = false;
    if (gained) {
        MakeCaret(core_.CaretWidth());
        PlaceCaret();
    } else {
        if (caretMade_) DestroyCaret();
        caretMade_ = false;
        selecting_ = false;
        StopTracking();
    }
    Invalidate();
}

void TSyntaxMemo::ViewInvalidate() {
    if (!HandleAllocated() || invalidPending_) return;
    invalidPending_ = InvalidateRect(Handle(), nullptr, FALSE) != 0;
}

void TSyntaxMemo::ViewScrollBar(bool vertical, int32_t max, int32_t page, int32_t pos) {
    if (!HandleAllocated()) return;
    // Setting a bar is slow (it redraws the frame): the values wait for the
    // next paint or the posted flush, so a burst of edits sets each bar once.
    bars_[vertical] = {max, page, pos, true};
    if (!flushPosted_) flushPosted_ = PostMessageA(Handle(), kFlushScrollBars, 0, 0) != 0;
}

void TSyntaxMemo::FlushScrollBars() {
    flushPosted_ = false;
    for (int v = 0; v < 2; v++) {
        Bar& b = bars_[v];
        if (!b.pending || !HandleAllocated()) continue;
        b.pending = false;
        if (b.max == b.setMax && b.page == b.setPage && b.pos == b.setPos) continue;
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
        si.nMax = b.max;
        si.nPage = static_cast<UINT>(std::max(b.page, 0));
        si.nPos = b.pos;
        SetScrollInfo(Handle(), v ? SB_VERT : SB_HORZ, &si, TRUE);
        b.setMax = b.max;
        b.setPage = b.page;
        b.setPos = b.pos;
    }
}

namespace {
// The edit and SMM_ messages the core answers.
bool SyntaxMemoCoreMessage(uint32_t msg) {
    return (msg >= EM_GETSEL && msg <= EM_CHARFROMPOS) || (msg >= SMM_SELECTION && msg <= SMM_CLIPFORMATNAME);
}
}  // namespace

bool TSyntaxMemo::OwnMessage(uint32_t msg) {
    return msg == WM_SETTEXT || msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH || SyntaxMemoCoreMessage(msg);
}

intptr_t TSyntaxMemo::Perform(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    // The control's own messages from its own thread are answered here: a
    // sent message costs a round trip through the window system (Lines.Add
    // sends six).
    if (HandleAllocated() && OwnMessage(msg) && GetCurrentThreadId() == windowThread_ && !InDestruction()) {
        TMessage m{msg, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam), 0};
        if (HandleMessage(m)) return m.Result;
    }
    return SendMessageA(Handle(), msg, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void TSyntaxMemo::ClearText() {
    core_.ClearText();
    ViewInvalidate();
}

void TSyntaxMemo::SetRedrawState(bool on) {
    if (HandleAllocated()) SendMessageA(Handle(), WM_SETREDRAW, on ? 1 : 0, 0);
}

void TSyntaxMemo::SetOptions(int32_t word) {
    core_.SetOptions(word);
    if (HandleAllocated()) DragAcceptFiles(Handle(), (word & smoProcessDroppedFiles) ? TRUE : FALSE);
}

void TSyntaxMemo::SetWordWrap(bool on) {
    if (on != WordWrap()) SetOptions(on ? core_.Options() | smoWordWrap : core_.Options() & ~smoWordWrap);
}

namespace {
// Runs set and tells whether get's value moved.
template <class Get, class Set>
bool Moved(Get get, Set set) {
    auto before = get();
    set();
    return !(get() == before);
}
}  // namespace

void TSyntaxMemo::Setdef_BackColor(TColor c) {
    if (c != core_.DefBackColor()) core_.SetDefBackColor(c), RepaintThroughHighlighter(false, false);
}
void TSyntaxMemo::Setdef_TextColor(TColor c) {
    if (c != core_.DefTextColor()) core_.SetDefTextColor(c), RepaintThroughHighlighter(false, false);
}
void TSyntaxMemo::Setdef_FontStyle(uint8_t style) {
    // Style 0's font follows its style bits.
    if (style != core_.DefFontStyle()) core_.SetDefFontStyle(style), RepaintThroughHighlighter(true, false);
}

void TSyntaxMemo::SetGutter(int32_t value) {
    if (Moved([&] { return core_.Gutter(); }, [&] { core_.SetGutter(value); })) {
        core_.UpdateScrollBars();
        RepaintThroughHighlighter(false, false);
    }
}
void TSyntaxMemo::SetGutterColor(TColor c) {
    if (Moved([&] { return core_.GutterColor(); }, [&] { core_.SetGutterColor(c); })) SettingChanged(true);
}
void TSyntaxMemo::SetMarginColor(TColor c) {
    if (Moved([&] { return core_.MarginColor(); }, [&] { core_.SetMarginColor(c); })) SettingChanged(true);
}
void TSyntaxMemo::SetSelTextColor(TColor c) {
    if (Moved([&] { return core_.SelTextColor(); }, [&] { core_.SetSelTextColor(c); })) SettingChanged(true);
}
void TSyntaxMemo::SetSelTextBack(TColor c) {
    if (Moved([&] { return core_.SelTextBack(); }, [&] { core_.SetSelTextBack(c); })) SettingChanged(true);
}
void TSyntaxMemo::SetMargin(int32_t value) {
    if (Moved([&] { return core_.Margin(); }, [&] { core_.SetMargin(value); })) SettingChanged(true);
}
void TSyntaxMemo::SetTabColumns(const std::string& text) {
    if (Moved([&] { return core_.TabColumns(); }, [&] { core_.SetTabColumns(text); })) SettingChanged(true);
}
void TSyntaxMemo::SetTabDefault(int32_t value) {
    if (Moved([&] { return core_.TabDefault(); }, [&] { core_.SetTabDefault(value); })) SettingChanged(true);
}
void TSyntaxMemo::SetIndentStep(int32_t value) {
    if (Moved([&] { return core_.IndentStep(); }, [&] { core_.SetIndentStep(value); })) SettingChanged(false);
}
void TSyntaxMemo::SetWrapAtColumn(int32_t value) {
    if (Moved([&] { return core_.WrapAtColumn(); }, [&] { core_.SetWrapAtColumn(value); })) WrapChanged(true);
}
void TSyntaxMemo::SetWrapOverride(const std::string& chars) {
    if (Moved([&] { return core_.WrapOverride(); }, [&] { core_.SetWrapOverride(chars); })) WrapChanged(false);
}

void TSyntaxMemo::WrapChanged(bool caretInView) {
    // The core re-laid the wrapped lines already.
    if (WordWrap()) {
        if (caretInView) core_.ScrollIntoView(core_.Caret());
        core_.Change();
        ViewInvalidate();
    }
    SettingChanged(false);
}

void TSyntaxMemo::SettingChanged(bool repaint) {
    if (repaint) RepaintThroughHighlighter(false, false);
    if (Designing && OnDesignerModified) OnDesignerModified(this);
}

void TSyntaxMemo::RepaintThroughHighlighter(bool rederiveFonts, bool restyleAll) {
    if (rederiveFonts) core_.RederiveFonts();
    struct Restore {
        bool& flag;
        bool old;
        ~Restore() { flag = old; }
    } restore{core_.RestyleAll, core_.RestyleAll};
    core_.RestyleAll = restyleAll;
    if (!slots_ || !slots_->RefreshActive()) core_.Message(SMM_SETTINGSCHANGED, 0, 0);
}

int32_t TSyntaxMemo::SelStart() const { return std::min(core_.Anchor(), core_.Caret()); }
void TSyntaxMemo::SetSelStart(int32_t v) { core_.SetSelection(v, v); }
int32_t TSyntaxMemo::SelLength() {
    auto p = OrderPair({core_.Anchor(), core_.Caret()});
    return static_cast<int32_t>(core_.PlainText(p.first, p.second).size());
}
void TSyntaxMemo::SetSelLength(int32_t v) {
    int32_t s = SelStart();
    core_.SetSelection(s, s + v);
}
std::string TSyntaxMemo::SelText() {
    auto p = OrderPair({core_.Anchor(), core_.Caret()});
    return core_.PlainText(p.first, p.second);
}
void TSyntaxMemo::SetSelText(const std::string& s) { Perform(EM_REPLACESEL, 0, reinterpret_cast<intptr_t>(s.c_str())); }

bool TSyntaxMemo::HandleMessage(TMessage& m) {
    switch (m.Msg) {
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | (core_.WantTab ? DLGC_WANTTAB : 0) |
                   (core_.WantReturns ? DLGC_WANTALLKEYS : 0);
        return true;
    case WM_SETREDRAW:
        core_.SetRedraw(m.WParam != 0);
        if (m.WParam) ViewInvalidate();
        return true;
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        m.Result = core_.Message(m.Msg, m.WParam, m.LParam);
        return true;
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case kEmCanPaste:
        return ClipboardMessage(m);
    case kFlushScrollBars:
        FlushScrollBars();
        return true;
    case WM_SETCURSOR:
        if (LOWORD(m.LParam) != HTCLIENT) return false;
        ::SetCursor(memogutter::CursorFor(cursor_));
        m.Result = TRUE;
        return true;
    case WM_DROPFILES:
        DropFiles(reinterpret_cast<HDROP>(m.WParam));
        return true;
    case WM_DESTROY:
        ole_->Revoke();
        return false;
    case SMM_FIND:
    case SMM_FINDDIALOG:
        m.Result = Search().Message(m.Msg, m.WParam, m.LParam);
        PlaceCaret();
        return true;
    case SMM_HIGHLIGHTFROM:
        m.Result = HighlightFrom(m.WParam & 1, reinterpret_cast<TLineNode*>(m.LParam));
        return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
        return false;  // the cracker's Scroll
    default:
        break;
    }
    if (SyntaxMemoCoreMessage(m.Msg)) {
        m.Result = core_.Message(m.Msg, m.WParam, m.LParam);
        PlaceCaret();
        return true;
    }
    return false;
}

intptr_t TSyntaxMemo::HighlightFrom(bool set, TLineNode* node) {
    TTextStore& store = core_.Store();
    if (set && slots_) {
        // Only a line of this text: the pass starts there now.
        int32_t index = 0;
        for (TLineNode* n = store.Head(); n; n = n->Next, index++) {
            if (n != node) continue;
            slots_->Pass().Rescan(index);
            ViewInvalidate();
            break;
        }
    }
    if (!slots_ || !ActiveParserObject()) return 0;
    int32_t pending = slots_->Pass().Pending();
    if (pending >= 0) return reinterpret_cast<intptr_t>(store.LineAt(pending));
    // A lazy pass leaves the lines after its page marked for later.
    for (TLineNode* n = store.Head(); n; n = n->Next)
        if (n->Flags & lfRescan) return reinterpret_cast<intptr_t>(n);
    return 0;
}

bool TSyntaxMemo::Scroll(int bar, int code, int pos) {
    if (bar == SB_CTL) return false;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_TRACKPOS;
    GetScrollInfo(Handle(), bar, &si);
    if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) pos = si.nTrackPos;
    uintptr_t w = static_cast<uintptr_t>(code & 0xFFFF) | (static_cast<uintptr_t>(pos & 0xFFFF) << 16);
    core_.Message(bar == SB_VERT ? smmsg::VScroll : smmsg::HScroll, w, 0);
    PlaceCaret();
    return true;
}

bool TSyntaxMemo::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
    if (key == 0) return true;
    uint8_t s = static_cast<uint8_t>(shift & (ssShift | ssAlt | ssCtrl));
    bool used = false;
    if (!macros_->KeyDown(key, shift, used)) used = used || core_.HandleKey(key, s);
    if (used) {
        // The character the key would type was translated already: drop it.
        MSG pending;
        PeekMessageA(&pending, Handle(), WM_CHAR, WM_CHAR, PM_REMOVE);
    }
    PlaceCaret();
    return used;
}

bool TSyntaxMemo::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
    if (key == 0 || !Enabled() || !TabStop()) return true;
    // Control keys are commands; Ctrl+Enter (LF) still breaks the line.
    if (key != '\n' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) return true;
    bool typed = core_.TypeChar(key);
    PlaceCaret();
    return typed || key == '\b';
}

bool TSyntaxMemo::MouseServed(bool mustBeVisible) {
    return Enabled() && TabStop() && (!mustBeVisible || Visible());
}

bool TSyntaxMemo::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TSyntaxMemoCore::TMouseScope mouse(core_);
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
    if (button != mbLeft || !MouseServed(true)) return false;
    if (!Focused()) SetFocus();
    if (x < 0 || x >= ClientWidth()) return true;
    if (GutterClick(x, y) || MarginDrag(x, y, 0)) return true;
    int32_t offset = core_.OffsetOfPoint(x, y);
    if (!(shift & ssShift) && HyperlinkClick(x, y)) {
        selecting_ = true;
        SetCapture(Handle());
        PlaceCaret();
        return true;
    }
    // Soon after a double click a press inside the selection is placed, not dragged.
    bool tripleClick = dblClicked_ && GetTickCount() - lastDblClick_ <= DoubleClickTime;
    dblClicked_ = false;
    if (!tripleClick && ole_->PressAt(offset, x, y, (shift & ssShift) != 0)) {
        SetCapture(Handle());
        return true;
    }
    if (shift & ssShift) ExtendTo(offset);
    else core_.SetSelection(offset, offset);
    selecting_ = true;
    SetCapture(Handle());
    PlaceCaret();
    return true;
}

bool TSyntaxMemo::MouseMove(TShiftState shift, int x, int y) {
    TSyntaxMemoCore::TMouseScope mouse(core_);
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
    if (!MouseServed(true)) return false;
    if ((shift & ssLeft) && ole_->MoveTo(x, y)) return true;
    Hover(x, y);
    if (MarginDrag(x, y, 1)) return true;
    if (!selecting_ || !(shift & ssLeft)) return false;
    core_.SetSelection(core_.Anchor(), core_.DragSelectOffset(x, y));
    PlaceCaret();
    // Held still outside the text, the mouse keeps the view scrolling.
    Track(x, y);
    return true;
}

bool TSyntaxMemo::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TSyntaxMemoCore::TMouseScope mouse(core_);
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
    if (!MouseServed(false)) {
        // Turned off mid-drag: let the mouse go all the same.
        selecting_ = false;
        StopTracking();
        if (GetCapture() == Handle()) ReleaseCapture();
        return false;
    }
    if (button == mbLeft && MarginDrag(x, y, 2)) return true;
    if (button == mbLeft && ole_->ReleaseAt(x, y)) {
        ReleaseCapture();
        PlaceCaret();
        return false;
    }
    if (button == mbLeft && selecting_) {
        selecting_ = false;
        StopTracking();
        ReleaseCapture();
        DoClick();
    }
    return false;
}

bool TSyntaxMemo::DblClick(TMouseButton button, TShiftState, int x, int y) {
    TSyntaxMemoCore::TMouseScope mouse(core_);
    if (button != mbLeft) return false;
    if (OnDblClick) OnDblClick(this);
    bool gutter = (core_.Options() & smoShowGutter) && x < core_.Gutter();
    if (!gutter && (core_.Options() & smoWordSelect)) {
        core_.SelectWordAt(core_.OffsetOfPoint(x, y));
        selecting_ = false;
        lastDblClick_ = GetTickCount();
        dblClicked_ = true;
    }
    PlaceCaret();
    return true;
}

bool TSyntaxMemo::MouseWheel(int delta, TShiftState, int, int) {
    core_.ScrollTo(core_.LeftCol(), core_.TopLine() - delta / WHEEL_DELTA * 3);
    PlaceCaret();
    return true;
}

void TSyntaxMemo::DropFiles(HDROP drop) {
    if ((core_.Options() & smoProcessDroppedFiles) && OnFilesDropped) {
        std::vector<std::string> files;
        UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < n; i++) {
            UINT len = DragQueryFileA(drop, i, nullptr, 0);
            std::string name(len + 1, '\0');
            DragQueryFileA(drop, i, &name[0], len + 1);
            name.resize(len);
            files.push_back(name);
        }
        POINT pt{-1, -1};
        if (!DragQueryPoint(drop, &pt)) pt = POINT{-1, -1};
        // The handle is released even when the handler throws.
        struct Finish {
            HDROP d;
            ~Finish() { DragFinish(d); }
        } finish{drop};
        OnFilesDropped(this, files, pt);
        return;
    }
    DragFinish(drop);
}

std::unique_ptr<TDrawSurface> MakeDCSurface(HDC dc, TMemoFonts& fonts, int charWidth, int lineHeight,
                                            bool proportional) {
    return std::unique_ptr<TDrawSurface>(new TDCSurface(dc, fonts, charWidth, lineHeight, proportional));
}
