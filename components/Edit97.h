// A single-line edit that draws its own 3-pixel frame: flat in the face colour,
// sunken while focused or under the mouse.
#pragma once

#include "ui/StdCtrls.h"

class TEdit97 : public TEdit {
public:
    explicit TEdit97(TWinControl* parent);
    bool MouseInControl() const { return mouseIn_; }
    // Whether the frame shows sunken now (focus, or hover while no other flat edit has the focus).
    bool HotLook() const;
    // Sets the height from the font: its tmHeight plus 6.
    void AdjustHeight();
    // The frame on a whole-window DC of w x h.
    static void DrawFrame(HDC dc, int w, int h, bool hot);
    bool HandleMessage(TMessage& m) override;
    bool MouseMove(TShiftState shift, int x, int y) override;
    void FocusChanged(bool gained) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    void Redraw();
    bool mouseIn_ = false;
};
