// How the owner-drawn menus look: drop-down items with their image or mark
// column, caption and shortcut, separators and column dividers, bar items,
// and the gradient banner.
#include <algorithm>

#include "components/Menus97.h"

namespace {

void Line(HDC dc, int x1, int y1, int x2, int y2, TColor c) {
    HPEN p = CreatePen(PS_SOLID, 1, ColorToRGB(c));
    HGDIOBJ old = SelectObject(dc, p);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
    DeleteObject(p);
}

void Frame3D(HDC dc, RECT r, bool raised) {
    const TColor tl = raised ? clBtnHighlight : clBtnShadow, br = raised ? clBtnShadow : clBtnHighlight;
    Line(dc, r.left, r.bottom - 1, r.left, r.top, tl);
    Line(dc, r.left, r.top, r.right - 1, r.top, tl);
    Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1, br);
    Line(dc, r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1, br);
}

}  // namespace

void TCustomMenus97::DrawMark(HDC dc, int x, int y, bool radio) const {
    // The 17 x 17 marks: a check or a dot on white (white is transparent).
    const COLORREF ink = ColorToRGB(clBtnText);
    if (radio) {
        HBRUSH b = CreateSolidBrush(ink);
        HGDIOBJ ob = SelectObject(dc, b), op = SelectObject(dc, GetStockObject(NULL_PEN));
        Ellipse(dc, x + 6, y + 6, x + 12, y + 12);
        SelectObject(dc, ob);
        SelectObject(dc, op);
        DeleteObject(b);
        return;
    }
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 3; ++k) SetPixel(dc, x + 5 + k, y + 8 + k + i, ink);
        for (int k = 0; k < 5; ++k) SetPixel(dc, x + 8 + k, y + 9 - k + i, ink);
    }
}

void TCustomMenus97::DrawText(TMenuItem& item, TCanvas& c, RECT r, const std::string& text, bool enabled) {
    HDC dc = c.Handle();
    TFont font = c.Font;
    if (item.Default()) font.SetStyle(font.Style() | fsBold);
    HGDIOBJ old = SelectObject(dc, font.Handle());
    SetBkMode(dc, TRANSPARENT);
    const std::string sc = item.ShortCut() ? ShortCutToText(item.ShortCut()) : "";
    auto pass = [&](int dx, int dy, COLORREF colour) {
        SetTextColor(dc, colour);
        RECT tr = r;
        OffsetRect(&tr, dx, dy);
        DrawTextA(dc, text.c_str(), -1, &tr, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
        if (!sc.empty()) {
            tr.right -= checkW_;
            DrawTextA(dc, sc.c_str(), -1, &tr, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
        }
    };
    if (!enabled) {
        pass(1, 1, ColorToRGB(clBtnHighlight));
        pass(0, 0, ColorToRGB(clBtnShadow));
    } else {
        pass(0, 0, ColorToRGB(font.Color()));
    }
    SelectObject(dc, old);
}

void TCustomMenus97::DrawDropDownItem(TMenuItem& item, TCanvas& c, RECT r, UINT state) {
    HDC dc = c.Handle();
    const bool separator = !item.Caption().empty() && item.Caption()[0] == '-';
    const bool enabled = item.Enabled() && !separator;
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool hasImage = item.Tag >= 0 && images_;
    const int imgW = hasImage ? images_->Width() : markW_;
    if (enabled) {
        HBRUSH b = CreateSolidBrush(ColorToRGB(selected ? HiliteBar : BrushColor));
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    if (item.Break() == mbBarBreak) DrawBarBreak(dc, r);
    if (separator) {
        const int y = r.top + (r.bottom - r.top) / 2;
        Line(dc, r.left + 1, y, r.right - 1, y, clBtnShadow);
        Line(dc, r.left + 1, y + 1, r.right - 1, y + 1, clBtnHighlight);
    }
    const RECT mark{r.left, r.top, r.left + imgW + 4, r.bottom};
    const bool office = look_ == mlOffice97Look;
    if (enabled) {
        if (office && selected && (item.Checked() || hasImage)) Frame3D(dc, mark, true);
        if (office && !selected && item.Checked()) Frame3D(dc, mark, false);
        // An image index past the list draws nothing but keeps the column.
        if (hasImage && item.Tag < images_->Count()) images_->Draw(c, r.left + 2, r.top + 2, item.Tag);
        else if (item.Checked()) DrawMark(dc, r.left + 1, r.top + 1, item.RadioItem());
    } else if (hasImage && item.Tag < images_->Count()) {
        images_->Draw(c, r.left + 1, r.top + 1, item.Tag, false);
    }
    c.Font = selected && enabled ? HiliteFont : Font;
    RECT tr = r;
    tr.left += (images_ ? images_->Width() : markW_) + 7;
    DrawText(item, c, tr, separator ? item.Caption().substr(1) : item.Caption(), enabled);
}

// The platform leaves the divider of an owner-drawn column to us: a shadow and
// a highlight line just left of the item, down the whole drop-down (as far as
// the drawing reaches: the menu window's client area, or the surface's).
void TCustomMenus97::DrawBarBreak(HDC dc, const RECT& item) const {
    RECT span;
    HWND w = WindowFromDC(dc);
    if (!w || !GetClientRect(w, &span)) GetClipBox(dc, &span);
    Line(dc, item.left - 3, span.top, item.left - 3, span.bottom, clBtnShadow);
    Line(dc, item.left - 2, span.top, item.left - 2, span.bottom, clBtnHighlight);
}

void TCustomMenus97::DrawBarItem(TMenuItem& item, TCanvas& c, RECT r, UINT state) {
    HDC dc = c.Handle();
    HBRUSH b = CreateSolidBrush(ColorToRGB(BrushColor));
    FillRect(dc, &r, b);
    DeleteObject(b);
    if (state & (ODS_SELECTED | ODS_HOTLIGHT)) Frame3D(dc, r, !(state & ODS_SELECTED));
    RECT tr = r;
    if (item.Tag >= 256 && images_) {
        images_->Draw(c, r.left + 3, r.top + 1, item.Tag - 256);
        tr.left += 3 + images_->Width() + 2;
    } else {
        tr.left += 5;
    }
    c.Font = Font;
    DrawText(item, c, tr, item.Caption(), item.Enabled());
}

HBITMAP TCustomMenus97::MakeBanner(int height) const {
    const int w = BannerWidth, h = height, n = BannerNumColors < 1 ? 1 : BannerNumColors;
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBmp = SelectObject(dc, bmp);
    const COLORREF a = ColorToRGB(BannerColor), z = ColorToRGB(BannerEndColor);
    for (int i = 0; i < (a == z ? 1 : n); ++i) {
        auto mix = [&](int s, int e) { return n < 2 ? s : std::clamp(s + MulDiv(i, e - s, n - 1), 0, 255); };
        const COLORREF band = RGB(mix(GetRValue(a), GetRValue(z)), mix(GetGValue(a), GetGValue(z)), mix(GetBValue(a), GetBValue(z)));
        RECT br = a == z ? RECT{0, 0, w, h} : RECT{0, MulDiv(i, h, n), w, MulDiv(i + 1, h, n)};
        HBRUSH b = CreateSolidBrush(band);
        FillRect(dc, &br, b);
        DeleteObject(b);
    }
    if (!BannerText.empty()) {
        // Measured upright, drawn turned by 90 degrees, running upward.
        SIZE extent{};
        HGDIOBJ oldFont = SelectObject(dc, BannerFont.Handle());
        GetTextExtentPoint32A(dc, BannerText.c_str(), static_cast<int>(BannerText.size()), &extent);
        LOGFONTA lf{};
        GetObjectA(BannerFont.Handle(), sizeof lf, &lf);
        lf.lfEscapement = lf.lfOrientation = 900;
        lf.lfOutPrecision = OUT_TT_PRECIS;
        HFONT turned = CreateFontIndirectA(&lf);
        SelectObject(dc, turned);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(BannerFont.Color()));
        const int bottom = BannerImage >= 0 ? h - (w + 4) : h;
        const int x = (w - extent.cy) / 2;
        const int y = BannerJustification == bjTop      ? extent.cx + 1
                      : BannerJustification == bjBottom ? bottom - 1
                                                        : bottom - (bottom - extent.cx) / 2 - 1;
        TextOutA(dc, x, y, BannerText.c_str(), static_cast<int>(BannerText.size()));
        SelectObject(dc, oldFont);
        DeleteObject(turned);
    }
    SelectObject(dc, oldBmp);
    DeleteDC(dc);
    return bmp;
}
