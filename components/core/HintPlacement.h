// Where a tooltip goes: just below the cursor, sized to its text, kept on the screen.
#pragma once

#include <cstdint>

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

// The cursor's height below its hot spot, from its 32-pixel-wide monochrome
// mask: rows 0..31 the AND mask, rows 32..63 (monochrome cursors) the XOR mask.
// rows[i] holds row i, bit 31 = column 0; a 0 bit is black.
int CursorHeightBelow(const uint32_t* rows, int rowCount, int hotSpotY);
