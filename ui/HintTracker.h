// Follows the mouse over the thread's controls: the application's hint
// becomes the hint of what the mouse is over (the status bar follows), and
// after the hint pause the tooltip shows in the application's hint window.
// Leaving the control, a click or a key takes the tooltip down.
#pragma once

#include <memory>
#include <string>

#include "HintWindow.h"
#include "runtime/Application.h"
#include "runtime/HiddenWindow.h"

class THintTracker : public THintService {
public:
    // The one tracker, attached to the application and to the thread's
    // messages on first use (the first window made).
    static THintTracker& Instance();
    // The tracker if one was made, else null.
    static THintTracker* Existing();
    ~THintTracker() override;

    void ShowHintChanged(bool show) override;
    void CancelHint() override;
    THintWindow* Window() const { return window_.get(); }
    // A control going: forgotten, its tooltip taken down (no event raised).
    void ControlDestroyed(const TWinControl* c);

    // What the thread's message loop saw (public for the hook).
    void MouseMoved(HWND target, POINT screen);

private:
    enum TTipState { tsNone, tsPending, tsShowing, tsDone };
    THintTracker();
    void Enter(TWinControl* c, POINT screen);
    void Leave();
    void ShowTip();
    void HideTip();
    void HideTipAndPauses();  // the tip and its pause and hide timers; the watch goes on
    void StopTimers();
    bool OnTimer(UINT_PTR id);
    // The item under the cursor now: its control (null if none of ours) and part.
    TWinControl* ControlAtCursor(POINT& at) const;

    std::unique_ptr<THiddenWindow> timers_;
    std::unique_ptr<THintWindow> window_;
    TWinControl* control_ = nullptr;
    int part_ = -1;
    std::string text_;
    TTipState state_ = tsNone;
    // A tooltip was on show as the mouse moved on: the next follows sooner.
    bool shortPause_ = false;
};

// The control of ours at a screen point, found from the window a mouse
// message went to (disabled children too, which the platform passes over).
TWinControl* HintControlAt(HWND target, POINT screen);
// The hint at a screen point of c, looked for up its parents when c has none;
// source: the control whose hint it is.
std::string HintOfControl(TWinControl* c, POINT screen, int& part, TWinControl*& source);
