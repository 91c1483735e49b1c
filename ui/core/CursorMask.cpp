#include "ui/core/CursorMask.h"

int CursorHeightBelow(const uint32_t* rows, int rowCount, int hotSpotY) {
    for (int y = 31; y >= 0; --y)
        if (y < rowCount && rows[y] != 0xFFFFFFFFu) return y - hotSpotY;
    for (int y = 63; y >= 31; --y)
        if (y < rowCount && rows[y] != 0) return y - hotSpotY - 32;
    return 32;
}
