#include "DrawUtils.h"

#include <winspool.h>

#include <cstring>
#include <vector>

int TextWidthIn(HDC dc, HFONT font, const char* text, int count) {
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, count, &size);
    SelectObject(dc, old);
    return size.cx;
}

void MirroredTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, int count,
                     const INT* dx, int mirrorWidth) {
    RECT r = rect ? *rect : RECT{0, 0, 0, 0};
    int width = r.right - r.left;
    r.left = mirrorWidth - x - width;
    r.right = mirrorWidth - x;
    int outX = r.left;
    if (!text || count <= 0) {
        ExtTextOutA(dc, outX, y, options, &r, nullptr, 0, nullptr);
        return;
    }
    std::vector<char> reversed(text, text + count);
    for (int i = 0, j = count - 1; i < j; i++, j--) std::swap(reversed[static_cast<size_t>(i)], reversed[static_cast<size_t>(j)]);
    if (outX == 0) {
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, reversed.data(), count, &size);
        outX = width - size.cx;
    }
    ExtTextOutA(dc, outX, y, options, &r, reversed.data(), static_cast<UINT>(count), dx);
}

void DrawTransparent(HDC dc, int x, int y, HBITMAP bitmap, TColor transparentColor, int extraHeight,
                     int extraWidth) {
    BITMAP bm;
    if (!GetObject(bitmap, sizeof bm, &bm)) return;
    int w = bm.bmWidth + extraWidth, h = bm.bmHeight + extraHeight;

    HDC src = CreateCompatibleDC(dc);
    HDC maskDc = CreateCompatibleDC(dc);
    HDC invDc = CreateCompatibleDC(dc);
    HDC spriteDc = CreateCompatibleDC(dc);
    HDC backDc = CreateCompatibleDC(dc);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    HBITMAP inverse = CreateBitmap(w, h, 1, 1, nullptr);
    HBITMAP sprite = CreateCompatibleBitmap(dc, w, h);
    HBITMAP back = CreateCompatibleBitmap(dc, w, h);
    HGDIOBJ oldSrc = SelectObject(src, bitmap);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    HGDIOBJ oldInv = SelectObject(invDc, inverse);
    HGDIOBJ oldSprite = SelectObject(spriteDc, sprite);
    HGDIOBJ oldBack = SelectObject(backDc, back);

    // Transparent pixels become white in the mask.
    COLORREF oldBk = SetBkColor(src, ColorToRGB(transparentColor));
    BitBlt(maskDc, 0, 0, w, h, src, 0, 0, SRCCOPY);
    SetBkColor(src, oldBk);
    BitBlt(invDc, 0, 0, w, h, maskDc, 0, 0, NOTSRCCOPY);
    // The sprite: the bitmap with its transparent pixels black.
    BitBlt(spriteDc, 0, 0, w, h, src, 0, 0, SRCCOPY);
    BitBlt(spriteDc, 0, 0, w, h, invDc, 0, 0, SRCAND);
    // The background with holes where the bitmap is opaque, then the sprite in them.
    BitBlt(backDc, 0, 0, w, h, dc, x, y, SRCCOPY);
    BitBlt(backDc, 0, 0, w, h, maskDc, 0, 0, SRCAND);
    BitBlt(backDc, 0, 0, w, h, spriteDc, 0, 0, SRCINVERT);
    BitBlt(dc, x, y, w, h, backDc, 0, 0, SRCCOPY);

    SelectObject(src, oldSrc);
    SelectObject(maskDc, oldMask);
    SelectObject(invDc, oldInv);
    SelectObject(spriteDc, oldSprite);
    SelectObject(backDc, oldBack);
    DeleteObject(mask);
    DeleteObject(inverse);
    DeleteObject(sprite);
    DeleteObject(back);
    DeleteDC(src);
    DeleteDC(maskDc);
    DeleteDC(invDc);
    DeleteDC(spriteDc);
    DeleteDC(backDc);
}

HFONT CreateEditorFont(const std::string& faceName, int pointSize, int style, int charset, bool forPrinter) {
    HDC dc = nullptr;
    bool printer = false;
    if (forPrinter) {
        char name[256];
        DWORD len = sizeof name;
        if (GetDefaultPrinterA(name, &len)) {
            dc = CreateDCA("WINSPOOL", name, nullptr, nullptr);
            printer = dc != nullptr;
        }
    }
    if (!dc) dc = GetDC(nullptr);
    int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    if (printer) DeleteDC(dc);
    else ReleaseDC(nullptr, dc);

    LOGFONTA lf;
    memset(&lf, 0, sizeof lf);
    lf.lfHeight = -MulDiv(pointSize, ppi, 72);
    lf.lfWeight = (style & 1) ? FW_BOLD : FW_DONTCARE;
    lf.lfItalic = (style & 2) ? 1 : 0;
    lf.lfUnderline = (style & 4) ? 1 : 0;
    lf.lfStrikeOut = (style & 8) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(charset);
    lstrcpynA(lf.lfFaceName, faceName.c_str(), LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}
