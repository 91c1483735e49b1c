// A tool window for the tests: a fixed client size per dock kind, as a
// concrete tool window of a program would compute from its controls.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "components/ToolWindow97.h"
#include "components/ToolbarHooks.h"

class TTestToolWindow : public TCustomToolWindow97 {
public:
    TTestToolWindow(TForm* form, const char* name, int length, int thickness = 22)
        : TCustomToolWindow97(form), length_(length), thickness_(thickness) {
        SetName(name);
        SetCaption(name);
    }
    int Arranged = 0;
    SIZE MinClient{1, 1};
    std::function<void(int hit, RECT& rect)> Adjust;
    // "begin <hit>" / "end <accepted>" for each sizing notification.
    std::vector<std::string> Sizing;

protected:
    SIZE OrderControls(bool canMove, int dockKind, TDock97*) override {
        if (canMove) ++Arranged;
        return dockKind == 2 ? SIZE{thickness_, length_} : SIZE{length_, thickness_};
    }
    SIZE MinimumClientSize() override { return MinClient; }
    void AdjustSizingRect(int hit, RECT& rect) override {
        if (Adjust) Adjust(hit, rect);
    }
    void SizingBegins(int hit) override { Sizing.push_back("begin " + std::to_string(hit)); }
    void SizingEnds(bool accepted) override { Sizing.push_back(accepted ? "end 1" : "end 0"); }

private:
    int length_, thickness_;
};

// The application counts as active (or not) while this lives, whatever other
// processes on the same desktop do with the real activation.
struct TFixedActivation {
    explicit TFixedActivation(bool active = true) { FixApplicationActive(active); }
    ~TFixedActivation() { ReleaseApplicationActive(); }
    TFixedActivation(const TFixedActivation&) = delete;
    TFixedActivation& operator=(const TFixedActivation&) = delete;
};

// Records the outline instead of drawing on the desktop.
class TRecordedOutline : public TDragOutline {
public:
    void Begin() override { ++Begun; }
    void Show(const RECT& r, int thickness) override {
        Last = r;
        LastThickness = thickness;
        ++Shown;
    }
    void End() override { ++Ended; }
    int Begun = 0, Shown = 0, Ended = 0;
    RECT Last{};
    int LastThickness = 0;
};
