// The dock bar: a strip on one edge of its form that holds tool windows in
// rows. The arithmetic is TDockLayout's; the window sizes itself across its
// edge to the rows and places the tool windows it is given.
#pragma once

#include <functional>

#include "components/core/DockLayout.h"
#include "runtime/core/SysUtils.h"
#include "ui/Control.h"

class TCustomToolWindow97;

class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

enum TDockBoundLine : unsigned { blTop = 1, blBottom = 2, blLeft = 4, blRight = 8 };
using TDockBoundLines = unsigned;

using TInsertRemoveEvent = std::function<void(TObject* Sender, bool Inserting, TCustomToolWindow97* Bar)>;
using TRequestDockEvent = std::function<void(TObject* Sender, TCustomToolWindow97* Bar, bool& Accept)>;

class TDock97 : public TWinControl {
public:
    TDock97(TWinControl* parent, TDockPosition position = dpTop);

    TDockPosition Position() const { return layout_.Position; }
    // EInvalidOperation while the dock holds tool windows.
    void SetPosition(TDockPosition position);
    bool AllowDrag = true;
    bool FixAlign() const { return layout_.FixAlign; }
    void SetFixAlign(bool value);
    bool LimitToOneRow() const { return layout_.LimitToOneRow; }
    void SetLimitToOneRow(bool value);
    TDockBoundLines BoundLines() const { return boundLines_; }
    // One-pixel lines in the non-client area at the chosen sides.
    void SetBoundLines(TDockBoundLines lines);
    // A picture tiled under the dock (and, with BackgroundOnToolbars, under
    // its tool windows), lined up with the parent's client origin. Copied; null for none.
    void SetBackground(HBITMAP bmp);
    bool HasBackground() const { return background_ != nullptr; }
    bool BackgroundOnToolbars() const { return onToolbars_; }
    void SetBackgroundOnToolbars(bool on);
    // The picture's colour at its lower-left pixel becomes the dock's Color.
    bool BackgroundTransparent() const { return transparent_; }
    void SetBackgroundTransparent(bool on);
    // Tiles the background over area of dc, whose (0, 0) lies at the given
    // point of the dock's parent's client area. False without a background.
    bool DrawBackground(HDC dc, const RECT& area, POINT dcOriginInParent);
    // The colour table of a paletted background as a palette (kept by the dock); else null.
    HPALETTE BackgroundPalette();
    TInsertRemoveEvent OnInsertRemoveBar;
    TRequestDockEvent OnRequestDock;

    int GetDockKind() const { return layout_.GetDockKind(); }
    TDockLayout& Layout() { return layout_; }
    void BeginUpdate() {
        ++updateLock_;
        layout_.BeginUpdate();
    }
    // The last one arranges when an arrange was put off.
    void EndUpdate();
    // Rows and positions of the tool windows, then the dock's own thickness.
    void ArrangeToolbars();
    void InsertRemoveBar(TCustomToolWindow97* bar, bool inserting, bool force);
    int ToolWindowCount() const { return static_cast<int>(layout_.DockList.size()); }
    TCustomToolWindow97* ToolWindows(int i) const;

    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;
    void Resized() override;
    ~TDock97() override;
    bool HandleMessage(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void ApplyThickness();
    void PaintBoundLines();
    void BackgroundChanged();
    HBITMAP background_ = nullptr, transparentCopy_ = nullptr;
    HPALETTE palette_ = nullptr;
    bool onToolbars_ = true, transparent_ = false;
    TDockBoundLines boundLines_ = 0;
    TDockLayout layout_;
    bool sizing_ = false;
    int updateLock_ = 0;
};
