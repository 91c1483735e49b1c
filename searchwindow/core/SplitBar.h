// The splitter bars' drag: a bar reports how far the pointer moved from
// where it grabbed the bar; the container moves the bar and the panes.
#pragma once

#include <optional>

class SplitBarDrag {
public:
    enum class State { Idle, Dragging };

    State CurrentState() const { return state_; }
    float Delta() const { return delta_; }
    // Button down at coordinate (Y for a horizontal bar): the window then
    // captures the mouse.
    void MouseDown(float at) {
        dragStart_ = at;
        state_ = State::Dragging;
    }
    // ControlMoveing's offset, only while dragging.
    std::optional<float> MouseMove(float at) {
        if (state_ != State::Dragging) return std::nullopt;
        delta_ = at - dragStart_;
        return delta_;
    }
    // ControlMove's offset when a drag ends; the window releases the capture
    // after this, so the capture change that follows finds the bar idle.
    std::optional<float> MouseUp(float at) {
        if (state_ != State::Dragging) return std::nullopt;
        state_ = State::Idle;
        delta_ = at - dragStart_;
        return delta_;
    }
    // Another window took the capture mid-drag: the drag ends where the bar
    // is now (ControlMove with 0), or it would follow a pointer it no longer sees.
    std::optional<float> CaptureLost() {
        if (state_ != State::Dragging) return std::nullopt;
        state_ = State::Idle;
        return 0.0f;
    }

private:
    State state_ = State::Idle;
    float dragStart_ = 0;
    float delta_ = 0;
};
