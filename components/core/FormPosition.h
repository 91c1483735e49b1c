// The form position store's arithmetic: stored numbers and keeping a restored
// form on the work area.
#pragma once

#include <string>

// "0x.." (longer than two characters) is hexadecimal; anything that is not a
// whole number gives def.
int ParseStoredInt(const std::string& text, int def);

struct TPosRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};
// Shrinks the rectangle to the work area if larger, then shifts it inside.
TPosRect ClampToWorkArea(TPosRect r, int areaLeft, int areaTop, int areaRight, int areaBottom);
