// The default outline of a dragged tool window: a checkered frame inverted
// on the desktop while the desktop is locked for updates.
#pragma once

#include "components/ToolWindow97.h"

class TDesktopOutline : public TDragOutline {
public:
    ~TDesktopOutline() override;
    void Begin() override;
    void Show(const RECT& r, int thickness) override;
    void End() override;
    // What the last Begin got from the platform (tests report these).
    bool Locked() const { return locked_; }
    HDC DC() const { return dc_; }

private:
    void Invert(const RECT& r, int thickness);
    HDC dc_ = nullptr;
    HBRUSH brush_ = nullptr;
    bool locked_ = false;
    RECT shown_{};
    int shownThickness_ = 0;
};
