#include "SyntaxMemoGutter.h"

#include <string>

namespace memogutter {

namespace {

const COLORREF kKey = RGB(255, 0, 255);  // transparent
// Bookmarks in one colour with their digit; the other marks as coloured dots.
const COLORREF kBookmark = RGB(0, 0, 160);
const COLORREF kDots[6] = {RGB(200, 0, 0), RGB(0, 150, 0), RGB(230, 160, 0),
                           RGB(0, 140, 200), RGB(140, 0, 160), RGB(90, 90, 90)};

void DrawBookmark(HDC dc, int n, HFONT font) {
    HBRUSH b = CreateSolidBrush(kBookmark);
    HGDIOBJ oldBrush = SelectObject(dc, b);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    RoundRect(dc, 1, 1, kImageWidth - 1, kImageHeight - 1, 4, 4);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(b);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    RECT r{1, 1, kImageWidth - 1, kImageHeight - 1};
    std::string digit(1, static_cast<char>('0' + n));
    DrawTextA(dc, digit.c_str(), 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, oldFont);
}

void DrawDot(HDC dc, COLORREF c) {
    HBRUSH b = CreateSolidBrush(c);
    HGDIOBJ oldBrush = SelectObject(dc, b);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, 2, 3, 14, 15);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(b);
}

// A line going right, down and back left with an arrow head: the line goes on.
void DrawWrapGlyph(HDC dc) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    POINT run[] = {{2, 4}, {11, 4}, {11, 11}, {4, 11}};
    Polyline(dc, run, 4);
    POINT head[] = {{6, 8}, {3, 11}, {6, 14}};
    Polyline(dc, head, 3);
    SelectObject(dc, old);
    DeleteObject(pen);
}

}  // namespace

HIMAGELIST MakeImages() {
    HIMAGELIST list = ImageList_Create(kImageWidth, kImageHeight, ILC_COLOR24 | ILC_MASK, 17, 0);
    if (!list) return nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HFONT font = CreateFontA(-9, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    for (int i = 0; i <= kWrapGlyph; i++) {
        HBITMAP bmp = CreateCompatibleBitmap(screen, kImageWidth, kImageHeight);
        HGDIOBJ old = SelectObject(dc, bmp);
        HBRUSH key = CreateSolidBrush(kKey);
        RECT all{0, 0, kImageWidth, kImageHeight};
        FillRect(dc, &all, key);
        DeleteObject(key);
        if (i < 10) DrawBookmark(dc, i, font);
        else if (i < kWrapGlyph) DrawDot(dc, kDots[i - 10]);
        else DrawWrapGlyph(dc);
        SelectObject(dc, old);
        ImageList_AddMasked(list, bmp, kKey);
        DeleteObject(bmp);
    }
    DeleteObject(font);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return list;
}

void DrawImage(HIMAGELIST list, HDC dc, int index, int x, int y, int rowHeight) {
    if (!list || index < 0 || index >= ImageList_GetImageCount(list)) return;
    if (rowHeight > kImageHeight) y += (rowHeight - kImageHeight) / 2;
    ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
}

void DrawTabMarker(HDC dc, HFONT symbol, int x, int y, int cellWidth, int cellHeight, COLORREF fg, COLORREF bg) {
    static const char kArrow = static_cast<char>(0xAE);  // the Symbol font's right arrow
    RECT r{x, y, x + cellWidth, y + cellHeight};
    HGDIOBJ old = SelectObject(dc, symbol);
    COLORREF oldText = SetTextColor(dc, fg), oldBack = SetBkColor(dc, bg);
    UINT oldAlign = SetTextAlign(dc, TA_RIGHT | TA_TOP);
    ExtTextOutA(dc, x + cellWidth, y, ETO_OPAQUE | ETO_CLIPPED, &r, &kArrow, 1, nullptr);
    SetTextAlign(dc, oldAlign);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    SelectObject(dc, old);
}

HCURSOR CursorFor(int32_t cursor) {
    LPCSTR id = IDC_ARROW;
    switch (cursor) {
    case -3: id = IDC_CROSS; break;
    case -4: id = IDC_IBEAM; break;
    case -11: id = IDC_WAIT; break;
    case -14: id = IDC_SIZEWE; break;
    case -21: id = IDC_HAND; break;
    default: break;
    }
    return LoadCursorA(nullptr, id);
}

bool MayReplaceCursor(int32_t current, int32_t hyperCursor) {
    return current == 0 || (current >= 22 && current <= 30) || current == -14 || current == -4 || current == hyperCursor;
}

}  // namespace memogutter
