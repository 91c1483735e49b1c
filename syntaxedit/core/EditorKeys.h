// Key values the editor's key map, templates and auto-correct table share:
// virtual key codes, shortcut values, the key-name table and the character to
// key translation. No platform headers.
#pragma once

#include <cstdint>
#include <string>

#include "ui/core/ShiftState.h"

// Virtual key codes used here.
enum : uint16_t {
    vkBack = 8, vkTab = 9, vkReturn = 13, vkEscape = 27, vkSpace = 32, vkPrior = 33, vkNext = 34, vkEnd = 35,
    vkHome = 36, vkLeft = 37, vkUp = 38, vkRight = 39, vkDown = 40, vkInsert = 45, vkDelete = 46, vkF1 = 112,
};

// The key that types c: virtual key in the low byte, shift state in the high
// byte (1 Shift, 2 Ctrl, 4 Alt); -1 when no key does. Defaults to the US
// keyboard layout; the Windows side may point it at the system's translation.
extern int16_t (*KeyScanChar)(char c);
int16_t KeyScanUS(char c);

// Virtual key of a key name ("return", "pageup", "f5", ...; lower case), -1
// when the table lacks it.
int KeyOfName(const std::string& name);
