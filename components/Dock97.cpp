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
