// The shift state of key and mouse events and shortcut values (a virtual key
// plus modifier bits), one set of names for the window layer and the
// window-free cores alike. No platform headers.
#pragma once

#include <cstdint>

using TShiftState = uint8_t;
enum : TShiftState { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64 };

// A shortcut value: virtual key code plus these bits.
using TShortCut = uint16_t;
enum : TShortCut { scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };

constexpr TShortCut ShortCut(uint16_t key, TShiftState shift) {
    return static_cast<TShortCut>(key | (shift & ssShift ? scShift : 0) | (shift & ssCtrl ? scCtrl : 0) |
                                  (shift & ssAlt ? scAlt : 0));
}
