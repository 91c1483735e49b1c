// A thin bar between an aligned control and the rest of its parent: dragging
// it with the mouse resizes that neighbour, never below MinSize, and leaves
// at least MinSize to the part of the parent that fills what is left.
#pragma once

#include "Control.h"

class TSplitter : public TWinControl {
public:
    // Give it the same Align as its neighbour and create it right after it.
    explicit TSplitter(TWinControl* parent);

    int MinSize = 30;
    // After a drag has resized the neighbour.
    TNotifyEvent OnMoved;

    // The aligned sibling it resizes (null if none).
    TWinControl* Neighbour() const;
    // Sets the neighbour's width (left/right) or height (top/bottom), kept
    // within what the parent allows; false without a neighbour.
    bool SetNeighbourSize(int size);

    bool PaintsItself() const override { return true; }
    bool MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    bool MouseMove(TShiftState shift, int x, int y) override;
    bool MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool HandleMessage(TMessage& m) override;

private:
    bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
    // The splitter's position in its parent along the drag direction.
    int Along(int x, int y) const { return Horizontal() ? Left() + x : Top() + y; }
    TWinControl* dragged_ = nullptr;
    int startPos_ = 0, startSize_ = 0;
};
