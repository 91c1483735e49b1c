#include "components/core/HintPlacement.h"

int HintExtraWidth(THintStyle s) { return s == hsWindows95 ? 8 : 6; }
int HintExtraHeight(THintStyle s) { return s == hsOffice97 ? 6 : 4; }

THintRect PlaceHint(THintStyle style, int cursorX, int cursorY, int cursorBelow, int textW, int textH,
                    int screenW, int screenH) {
    THintRect r;
    r.Left = cursorX;
    r.Top = cursorY + cursorBelow + (style == hsOffice97 ? 1 : 0);
    r.Right = r.Left + textW + HintExtraWidth(style);
    r.Bottom = r.Top + textH + HintExtraHeight(style);
    if (r.Right > screenW) {
        r.Left -= r.Right - screenW;
        r.Right = screenW;
    }
    // Like the right edge: a tip that would pass the bottom ends at it.
    if (r.Bottom > screenH) {
        r.Top -= r.Bottom - screenH;
        r.Bottom = screenH;
    }
    if (r.Left < 0) {
        r.Right -= r.Left;
        r.Left = 0;
    }
    if (r.Top < 0) {
        r.Bottom -= r.Top;
        r.Top = 0;
    }
    return r;
}

std::string HintFontFace(THintStyle style, const std::string& statusFace, bool tahomaInstalled) {
    return style == hsOffice97 && statusFace == "MS Sans Serif" && tahomaInstalled ? "Tahoma" : statusFace;
}
