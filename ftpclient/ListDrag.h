// Dragging rows from one list of the main window onto another, inside the
// program: a short modal loop that holds the mouse from the press on.
#pragma once

#include <windows.h>

#include <functional>

enum class TDragEnd { Click, Cancelled, Dropped };

struct TDragOutcome {
    TDragEnd End = TDragEnd::Click;
    POINT Screen{0, 0};  // where the button came up
};

// Follows a press at ClientStart in Source: a click when the button comes up
// before the mouse left the drag rectangle; else a drag, which Escape or a
// lost capture cancels, showing whether the point is over a target.
TDragOutcome TrackDrag(HWND Source, POINT ClientStart, const std::function<bool(POINT Screen)>& OverTarget);

// True when the screen point lies on the window (shown).
bool PointOnWindow(HWND Window, POINT Screen);
