// The base of dockable tool windows: a child of a TDock97 with a grip at its
// leading edge, or a small captioned window floating above its form. A drag
// from the grip or the caption shows an outline and docks or floats the
// window where it is let go; a double click floats a docked window and docks
// a floating one back into the dock it came from.
#pragma once

#include <memory>
#include <vector>

#include "components/Dock97.h"
#include "components/core/HookList.h"
#include "components/core/DockLayout.h"
#include "ui/Form.h"

// Draws the moving outline of a dragged window. The default inverts a
// checkered frame on the desktop; tests and other desktops put their own in.
class TDragOutline {
public:
    virtual ~TDragOutline() = default;
    virtual void Begin() = 0;
    // Moves the outline to r (screen coordinates), `thickness` pixels wide;
    // an empty r hides it.
    virtual void Show(const RECT& r, int thickness) = 0;
    virtual void End() = 0;
};
// The outline in force (not owned); null restores the desktop one. Returns the previous.
TDragOutline* SetDragOutline(TDragOutline* outline);
TDragOutline& DragOutline();

// The work area of the monitor nearest to a rectangle or a point (screen coordinates).
RECT GetMonitorWorkArea(const RECT& r);
RECT GetMonitorWorkArea(POINT pt);

class TCustomToolWindow97 : public TWinControl, public TDockedBar {
public:
    // The window belongs to form, floating until it is docked.
    explicit TCustomToolWindow97(TForm* form);
    ~TCustomToolWindow97() override;

    TForm* Form() const { return form_; }
    bool Docked() const { return dockedTo_ != nullptr; }
    TDock97* DockedTo() const { return dockedTo_; }
    // Docks into dock (arranging it), or floats at FloatLeft/FloatTop with null.
    void SetDockedTo(TDock97* dock);
    void SetDockRow(int row);
    void SetDockPos(int pos);
    int FloatLeft = 0, FloatTop = 0;
    // 0: two bars (9 pixels), 1: none, 2: one bar (6 pixels).
    int GripStyle = 0;
    // Floats at (left, top) in screen coordinates, as it is or off screen.
    void PlaceFloating(int left, int top);
    // A floating window hides while the application is inactive (else it stays, looking inactive).
    bool HidesWhileInactive = true;
    // Visible, and for a floating window: its form shown and not minimised,
    // and the application active unless the window stays when it is not.
    bool ShouldBeVisible(bool applicationActive) const;
    // Shows or hides a floating window to match, keeping Visible.
    void UpdateVisibility(bool applicationActive);
    // A floating window that stays while the application is inactive draws its caption inactive.
    bool InactiveLook = false;
    // A floating window's frame takes sizing drags; its caption a close box.
    bool SizableWhenFloating = true, ShowsCloseBox = true;
    // The close box hid the window.
    TNotifyEvent OnClose;
    // Floating frame metrics: frame width on each side and caption height.
    int FloatFrame() const;
    static int CaptionHeight() { return GetSystemMetrics(SM_CYSMCAPTION); }
    // The close box in window coordinates (empty without one).
    RECT CloseBoxRect() const;
    // The hit code of a point (screen coordinates) of the floating frame.
    LRESULT FloatingHitTest(POINT screen) const;
    // The sizing loop for a frame hit code, pressed at from (screen): the
    // outline follows the mouse and the new bounds are taken on release;
    // Esc or a press cancels.
    void SizeWindow(int hit, POINT from);
    // On a single monitor, the sizing drag keeps the cursor in the work area.
    bool ConfinesCursorWhileSizing = true;
    // Further forms whose docks take this window when it is dragged over them
    // (after its own form's). A freed form is forgotten.
    void AddDockForm(TForm* form);
    void RemoveDockForm(TForm* form);
    // The dock a floating window goes back to on a double click.
    TDock97* LastDock() const { return lastDock_; }

    // Drag loop from a point of the window (client coordinates): ends on a
    // left button release (moves), Esc or another press (no move).
    void BeginMoving(int x, int y);
    // The window as it would be docked there or floating (kind 0): its whole size.
    SIZE DockedSizeFor(int dockKind);
    SIZE FloatingSize();
    // Leading-edge and side widths of the docked frame.
    int GripWidth() const;

    // TDockedBar
    int RowExtent(bool vertical) const override;
    int DockedBaseSize(int dockKind) const override;
    void SetDockedBounds(const TBarBounds& bounds) override;

    bool PaintsItself() const override { return true; }
    // The face, or docked in a dock whose background shows on its tool
    // windows, that background lined up with the dock's.
    void Paint(TCanvas& canvas) override;
    bool MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DblClick(TMouseButton button, TShiftState shift, int x, int y) override;
    bool HandleMessage(TMessage& m) override;
    // Posted to itself when a move leaves the docked frame's background
    // out of line; copies already queued are dropped, so it redraws once.
    static constexpr UINT RedrawDockedFrameMessage = WM_APP + 0x3F97;
    // The dock's background palette while the background shows here, else null.
    HPALETTE Palette() const;

protected:
    // What a concrete tool window supplies: the client size its controls
    // need for a dock kind (0 floating, 1 horizontal, 2 vertical), placing
    // them when canMove.
    virtual SIZE OrderControls(bool canMove, int dockKind, TDock97* dock) = 0;
    // The smallest client size a sizing drag leaves the floating window.
    virtual SIZE MinimumClientSize() = 0;
    // May change the rectangle (screen coordinates) a sizing drag proposes
    // for the frame hit code hit; the minimum is already applied.
    virtual void AdjustSizingRect(int /*hit*/, RECT& /*rect*/) {}
    // Around every sizing drag, however it ends; accepted when the mouse was let go.
    virtual void SizingBegins(int /*hit*/) {}
    virtual void SizingEnds(bool /*accepted*/) {}
    void CreateParams(TCreateParams& params) override;
    void WndCreated() override;
    void Notification(TComponent* component, TOperation operation) override;
    void ColorChanged() override { ScheduleFrameRedraw(); }
    void TextChanged() override;

private:
    void ShowFloating();
    void NcCalcSize(TMessage& m);
    void NcPaintDocked();
    void ScheduleFrameRedraw();
    bool RealizeDockPalette(bool background);
    void NcPaintFloating();
    void CloseBoxLoop();
    bool SizeLoop(int hit, POINT from);
    static void HookProc(THookKind kind, uintptr_t wnd, uintptr_t wp, intptr_t lp);
    bool closePressed_ = false;
    void Float(int left, int top);
    // Where a drag with no dock target puts the window (screen coordinates).
    RECT FloatingTarget(POINT pt, POINT grab, SIZE oldSize);
    void MoveOnScreen();
    void SizeForDockKind();
    std::vector<TDock97*> CandidateDocks() const;
    std::vector<TForm*> dockForms_;
    TForm* form_;
    TDock97* dockedTo_ = nullptr;
    TDock97* lastDock_ = nullptr;
    bool arranging_ = false;
};
