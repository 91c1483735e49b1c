// Drawing helpers of the editor's painter that need a device context: text
// width, mirrored output for right-to-left lines, transparent bitmaps, and the
// editor's fonts. Windows only.
#pragma once

#include <windows.h>

#include <string>

#include "SyntaxMemoTypes.h"
#include "ui/Graphics.h"  // ColorToRGB: system colours resolved

// Width of the first count characters of text in font.
int TextWidthIn(HDC dc, HFONT font, const char* text, int count);

// ExtTextOut of a right-to-left line: the rectangle is mirrored across
// mirrorWidth, the characters reversed; an x of 0 right-aligns the text.
void MirroredTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, int count,
                     const INT* dx, int mirrorWidth);

// Draws bitmap at (x, y) leaving its pixels of transparentColor unpainted.
void DrawTransparent(HDC dc, int x, int y, HBITMAP bitmap, TColor transparentColor, int extraHeight,
                     int extraWidth);

// A logical font of pointSize for the screen, or for the default printer when
// forPrinter is set (the screen when there is none). style: bit 0 bold, 1
// italic, 2 underline, 3 strike-out. The caller deletes it.
HFONT CreateEditorFont(const std::string& faceName, int pointSize, int style, int charset, bool forPrinter);
