// The Basic-forms idioms SBF's windows are written in, over the window
// layer: geometry in twips at the screen's resolution, and a text box whose
// Change is raised once whenever its text is set, by the user or the program.
#pragma once

#include <string>

#include "masks/core/BasicUnits.h"
#include "ui/StdCtrls.h"

// The screen's pixels to the inch, read once.
int ScreenDpi();
inline int Twips(int twips) { return TwipsToPixels(twips, ScreenDpi()); }
inline int ToTwips(int pixels) { return PixelsToTwips(pixels, ScreenDpi()); }
// Places c with every figure in twips.
void SetBoundsTwips(TWinControl& c, int left, int top, int width, int height);
// Moves c to a left edge in twips, keeping its top and size.
void SetLeftTwips(TWinControl& c, int left);

class TBasicTextBox : public TEdit {
public:
    explicit TBasicTextBox(TWinControl* parent) : TEdit(parent) {}
    // Change is raised once, whether the window exists yet or not.
    void SetText(const std::string& s);
    bool Command(WORD code) override;

private:
    bool settingText_ = false;
};

// Sizes the form so that its client area is width x height twips.
void SetClientSizeTwips(TWinControl& form, int width, int height);
// A push button placed in twips, with its caption and tool tip.
TButton* MakeButton(TWinControl* parent, const char* name, const std::string& caption, int left, int top,
                    int width = 1095, int height = 375);
