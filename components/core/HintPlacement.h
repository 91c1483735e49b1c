// Where a tooltip goes: just below the cursor, sized to its text, kept on the screen.
#pragma once

#include <string>

#include "ui/core/CursorMask.h"

enum THintStyle { hsFlat, hsOffice97, hsWindows95 };

struct THintRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Extra width and height each style adds to the text's size.
int HintExtraWidth(THintStyle s);
int HintExtraHeight(THintStyle s);

// cursorBelow: the cursor's height below its hot spot. The rectangle is moved
// left at the right edge and up at the bottom edge of the screen.
THintRect PlaceHint(THintStyle style, int cursorX, int cursorY, int cursorBelow, int textW, int textH,
                    int screenW, int screenH);

// The face tooltips are written in, from the system's status font: the
// Office 97 style trades the old "MS Sans Serif" for "Tahoma" when it is installed.
std::string HintFontFace(THintStyle style, const std::string& statusFace, bool tahomaInstalled);
