// HSplitBar and VSplitBar: a bar between panes that reports how far it is
// dragged; the window moves it and the panes.
#pragma once

#include <functional>

#include "searchwindow/core/SplitBar.h"
#include "ui/Control.h"

class TSplitBar : public TWinControl {
public:
    TSplitBar(TWinControl* parent, bool vertical) : TWinControl(parent), vertical_(vertical) {}
    int BorderWidth = 1;
    // ControlMoveing while dragged, ControlMove at the drop (pixels).
    std::function<void(float)> ControlMoveing, ControlMove;
    SplitBarDrag& Drag() { return drag_; }

    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;
    bool MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    bool MouseMove(TShiftState shift, int x, int y) override;
    bool MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool HandleMessage(TMessage& m) override;

protected:
    void CreateParams(TCreateParams& p) override;

private:
    bool vertical_;
    SplitBarDrag drag_;
};
