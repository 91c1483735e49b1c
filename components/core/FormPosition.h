// The form position store's arithmetic: stored numbers and keeping a restored
// form on the work area.
#pragma once

#include <string>
#include <vector>

// "0x.." (longer than two characters) is hexadecimal; anything that is not a
// whole number gives def.
int ParseStoredInt(const std::string& text, int def);

struct TPosRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
};
// Shrinks the rectangle to the work area if larger, then shifts it inside.
TPosRect ClampToWorkArea(TPosRect r, int areaLeft, int areaTop, int areaRight, int areaBottom);

// A monitor and the part of it that windows may take (without its taskbar),
// both in screen coordinates.
struct TMonitorArea {
    TPosRect Monitor, Work;
};

// The monitor the rectangle overlaps most, else the one nearest to it; the
// earlier one on a tie (the primary first). -1 when there is none.
int NearestMonitor(const TPosRect& r, const std::vector<TMonitorArea>& monitors);
// The rectangle kept on the work area of its nearest monitor (shrunk to it
// when larger): a form closed on a second monitor comes back there.
TPosRect PlaceOnNearestMonitor(const TPosRect& r, const std::vector<TMonitorArea>& monitors);
// The platform's normal-position rectangle counts from the work area of its
// monitor (a taskbar at the top or left is left out): in screen coordinates.
TPosRect WorkspaceToScreen(const TPosRect& r, const std::vector<TMonitorArea>& monitors);
