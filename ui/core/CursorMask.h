// How far a cursor reaches below its hot spot, from its monochrome mask: a
// tooltip goes just below that.
#pragma once

#include <cstdint>

// The mask is 32 pixels wide: rows 0..31 the AND mask, rows 32..63
// (monochrome cursors) the XOR mask. rows[i] holds row i, bit 31 = column 0;
// a 0 bit is black.
int CursorHeightBelow(const uint32_t* rows, int rowCount, int hotSpotY);
