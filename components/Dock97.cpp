#include "components/Dock97.h"

#include "components/ToolWindow97.h"

TDock97::TDock97(TWinControl* parent, TDockPosition position) : TWinControl(parent), layout_(position) {
    if (dynamic_cast<TDock97*>(parent) || dynamic_cast<TCustomToolWindow97*>(parent))
        throw EInvalidOperation("A TDock97 control cannot be placed inside a tool window or another TDock97");
    static const TAlign aligns[] = {alTop, alBottom, alLeft, alRight};
    SetAlign(aligns[position]);
    SetBounds(0, 0, 1, 1);
}

void TDock97::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style |= WS_CLIPCHILDREN;
    p.WinClassName = "TDock97";
    // Thickness changes repaint only what they uncover.
    p.ClassStyle &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TDock97::SetPosition(TDockPosition position) {
    if (position == layout_.Position) return;
    if (!layout_.DockList.empty())
        throw EInvalidOperation("Cannot change Position of a TDock97 if it already contains controls");
    layout_.Position = position;
    static const TAlign aligns[] = {alTop, alBottom, alLeft, alRight};
    SetAlign(aligns[position]);
    ArrangeToolbars();
}

void TDock97::SetFixAlign(bool value) {
    layout_.FixAlign = value;
    ArrangeToolbars();
}

void TDock97::SetLimitToOneRow(bool value) {
    layout_.LimitToOneRow = value;
    ArrangeToolbars();
}

void TDock97::EndUpdate() {
    if (updateLock_ > 0) --updateLock_;
    if (updateLock_ == 0 && layout_.ArrangeNeeded()) {
        layout_.ClientLength = layout_.Vertical() ? ClientHeight() : ClientWidth();
        layout_.EndUpdate();
        ApplyThickness();
    } else {
        layout_.EndUpdate();
    }
}

TCustomToolWindow97* TDock97::ToolWindows(int i) const {
    return dynamic_cast<TCustomToolWindow97*>(layout_.DockList.at(static_cast<size_t>(i)));
}

void TDock97::ArrangeToolbars() {
    if (!HandleAllocated()) {
        // Nothing to place yet: the windows are placed when the dock is made.
        layout_.ClientLength = layout_.Vertical() ? Height() : Width();
    } else {
        layout_.ClientLength = layout_.Vertical() ? ClientHeight() : ClientWidth();
    }
    if (layout_.ArrangeToolbars()) ApplyThickness();
}

// Grows or shrinks across the edge to the rows, keeping the aligned edge.
void TDock97::ApplyThickness() {
    if (sizing_) return;
    sizing_ = true;
    int nonClient = 0;
    if (HandleAllocated()) {
        RECT w, c;
        GetWindowRect(Handle(), &w);
        GetClientRect(Handle(), &c);
        nonClient = layout_.Vertical() ? (w.right - w.left) - c.right : (w.bottom - w.top) - c.bottom;
    }
    TBarBounds b = layout_.ResizedBounds({Left(), Top(), Width(), Height()}, nonClient);
    SetBounds(b.Left, b.Top, b.Width, b.Height);
    sizing_ = false;
}

void TDock97::InsertRemoveBar(TCustomToolWindow97* bar, bool inserting, bool force) {
    if (!layout_.InsertRemoveBar(bar, inserting, force)) return;
    ArrangeToolbars();
    if (OnInsertRemoveBar && !Destroying()) OnInsertRemoveBar(this, inserting, bar);
}

void TDock97::Resized() {
    TWinControl::Resized();
    if (!sizing_) ArrangeToolbars();
}

void TDock97::SetBoundLines(TDockBoundLines lines) {
    if (lines == boundLines_) return;
    boundLines_ = lines;
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ArrangeToolbars();
}

bool TDock97::HandleMessage(TMessage& m) {
    if (m.Msg == WM_NCCALCSIZE && boundLines_) {
        RECT* r = reinterpret_cast<RECT*>(m.LParam);
        if (boundLines_ & blTop) ++r->top;
        if (boundLines_ & blBottom) --r->bottom;
        if (boundLines_ & blLeft) ++r->left;
        if (boundLines_ & blRight) --r->right;
        m.Result = 0;
        return true;
    }
    if (m.Msg == WM_NCPAINT && boundLines_) {
        if (!layout_.DockList.empty()) PaintBoundLines();
        m.Result = 0;
        return true;
    }
    return false;
}

// Top and left lines in the shadow colour, bottom and right in the highlight.
void TDock97::PaintBoundLines() {
    HWND h = Handle();
    HDC dc = GetWindowDC(h);
    RECT w;
    GetWindowRect(h, &w);
    OffsetRect(&w, -w.left, -w.top);
    HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW), light = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    RECT line;
    if (boundLines_ & blTop) FillRect(dc, &(line = {w.left, w.top, w.right, w.top + 1}), shadow);
    if (boundLines_ & blLeft) FillRect(dc, &(line = {w.left, w.top, w.left + 1, w.bottom}), shadow);
    if (boundLines_ & blBottom) FillRect(dc, &(line = {w.left, w.bottom - 1, w.right, w.bottom}), light);
    if (boundLines_ & blRight) FillRect(dc, &(line = {w.right - 1, w.top, w.right, w.bottom}), light);
    ReleaseDC(h, dc);
}
