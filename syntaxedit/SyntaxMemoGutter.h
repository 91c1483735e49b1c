// The editor window's pictures and cursors: the gutter images (bookmarks
// 0-9 and further line marks), the wrapped-line glyph, the visible TAB's
// arrow and the cursor numbers of the control's Cursor property.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

namespace memogutter {

const int kImageWidth = 15, kImageHeight = 16;
const int kWrapGlyph = 16;  // index of the wrapped-line glyph in the list

// Sixteen 15 x 16 images and the wrap glyph, drawn in code; the bottom-left
// pixel's colour is transparent. The caller destroys the list.
HIMAGELIST MakeImages();
// Image index at x, centred in a row taller than the image.
void DrawImage(HIMAGELIST list, HDC dc, int index, int x, int y, int rowHeight);
// The visible TAB: an arrow glyph of the "Symbol" font right-aligned in one cell.
void DrawTabMarker(HDC dc, HFONT symbol, int x, int y, int cellWidth, int cellHeight, COLORREF fg, COLORREF bg);
// The system cursor for a cursor number (0: the arrow).
HCURSOR CursorFor(int32_t cursor);
// Whether the mouse handler may replace the cursor number current: the
// default, 22..30, the split and I-beam cursors and the hyperlink cursor.
bool MayReplaceCursor(int32_t current, int32_t hyperCursor);

}  // namespace memogutter
