#include "FtpLogView.h"

#include <algorithm>

#include "SyntaxMemo.h"

TColorLogView::TColorLogView(TWinControl* parent) : TWinControl(parent) {
    Font().SetName("Courier New");
    Font().SetHeight(-13);
    SetColor(clWindow);
}

void TColorLogView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "QfColorLogView";
    p.Style |= WS_VSCROLL | WS_TABSTOP;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TColorLogView::Add(const std::string& Line) {
    lines_.push_back(LogEntry{Line, clWindowText, clWindow});
    UpdateScroll(true);
    Invalidate();
}

void TColorLogView::Clear() {
    lines_.clear();
    top_ = 0;
    UpdateScroll(false);
    Invalidate();
}

int TColorLogView::LineAt(int n) const {
    if (lines_.empty()) return -1;
    int i = n > 0 ? n - 1 : 0;
    return std::min(i, Count() - 1);
}

void TColorLogView::SetLineTextColor(int n, TColor Color) {
    int i = LineAt(n);
    if (i < 0) return;
    lines_[static_cast<size_t>(i)].text = Color;
    Invalidate();
}

void TColorLogView::SetLineTextBack(int n, TColor Color) {
    int i = LineAt(n);
    if (i < 0) return;
    lines_[static_cast<size_t>(i)].back = Color;
    Invalidate();
}

int TColorLogView::LineHeight() {
    if (lineHeight_ == 0) {
        HDC dc = GetDC(nullptr);
        TCanvas c(dc);
        c.Font = Font();
        lineHeight_ = std::max(1, c.TextHeight("Wg"));
        c.SetHandle(nullptr);
        ReleaseDC(nullptr, dc);
    }
    return lineHeight_;
}

int TColorLogView::VisibleLines() {
    return HandleAllocated() ? std::max(1, ClientHeight() / LineHeight()) : 1;
}

void TColorLogView::UpdateScroll(bool toEnd) {
    int visible = VisibleLines();
    int maxTop = std::max(0, Count() - visible);
    if (toEnd) top_ = maxTop;
    top_ = std::clamp(top_, 0, maxTop);
    if (!HandleAllocated()) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    si.nMin = 0;
    si.nMax = std::max(0, Count() - 1);
    si.nPage = static_cast<UINT>(visible);
    si.nPos = top_;
    SetScrollInfo(Handle(), SB_VERT, &si, TRUE);
}

void TColorLogView::Resized() {
    UpdateScroll(false);
    TWinControl::Resized();
}

bool TColorLogView::Scroll(int bar, int code, int pos) {
    if (bar != SB_VERT) return false;
    int visible = VisibleLines();
    switch (code) {
        case SB_LINEUP: --top_; break;
        case SB_LINEDOWN: ++top_; break;
        case SB_PAGEUP: top_ -= visible; break;
        case SB_PAGEDOWN: top_ += visible; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: top_ = pos; break;
        case SB_TOP: top_ = 0; break;
        case SB_BOTTOM: top_ = Count(); break;
        default: break;
    }
    UpdateScroll(false);
    Invalidate();
    return true;
}

bool TColorLogView::MouseWheel(int delta, TShiftState, int, int) {
    top_ -= delta / WHEEL_DELTA * 3;
    UpdateScroll(false);
    Invalidate();
    return true;
}

void TColorLogView::Paint(TCanvas& canvas) {
    RECT all{0, 0, ClientWidth(), ClientHeight()};
    canvas.Brush.Color = def_BackColor();
    canvas.FillRect(all);
    canvas.Font = Font();
    int h = LineHeight();
    for (int i = top_, y = 0; i < Count() && y < ClientHeight(); ++i, y += h) {
        const LogEntry& l = lines_[static_cast<size_t>(i)];
        RECT r{0, y, ClientWidth(), y + h};
        canvas.Brush.Color = l.back;
        canvas.FillRect(r);
        canvas.Font.SetColor(l.text);
        canvas.TextOut(2, y, l.text_);
    }
}

// ---- TMemoLog

TMemoLog::TMemoLog(TWinControl* parent) : memo_(new TSyntaxMemo(parent)) {
    memo_->SetReadOnly(true);
    // A log wants neither the gutter nor the margin and wrap guides.
    memo_->SetOptions(memo_->Options() & ~(smoShowGutter | smoShowRMargin | smoShowWrapColumn));
    memo_->Font().SetName("Courier New");
    memo_->Font().SetHeight(-13);
}

void TMemoLog::SetLineTextColor(int n, TColor Color) { memo_->SetLineTextColor(n, Color); }
void TMemoLog::SetLineTextBack(int n, TColor Color) { memo_->SetLineTextBack(n, Color); }
TColor TMemoLog::def_BackColor() const { return memo_->def_BackColor(); }
void TMemoLog::Repaint() { memo_->Repaint(); }

void TMemoLog::Add(const std::string& Line) { memo_->Lines().Add(Line); }
int TMemoLog::Count() const { return memo_->Lines().Count(); }
void TMemoLog::Clear() { memo_->Lines().Clear(); }
std::string TMemoLog::Strings(int i) const { return memo_->Lines().Get(i); }

TColor TMemoLog::LineTextColor(int i) const {
    const TLineNode* n = memo_->Core().Store().LineAt(i);
    return n ? n->TextColor : -1;
}

TColor TMemoLog::LineBackColor(int i) const {
    const TLineNode* n = memo_->Core().Store().LineAt(i);
    return n ? n->BackColor : -1;
}
