#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "DrawUtils.h"
#include "SM_Settings.h"
#include "WinSettingsPlatform.h"
#include "ui/Graphics.h"

namespace {

// A 32-bit memory DC of the given size, filled with one colour.
class MemoryCanvas {
public:
    MemoryCanvas(int w, int h, COLORREF fill) : w_(w), h_(h) {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bmp);
        Fill(0, 0, w, h, fill);
    }
    ~MemoryCanvas() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    void Fill(int x, int y, int w, int h, COLORREF c) {
        RECT r = {x, y, x + w, y + h};
        HBRUSH b = CreateSolidBrush(c);
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    COLORREF At(int x, int y) { return GetPixel(dc, x, y); }
    // Leftmost column that holds a pixel other than c, -1 when none.
    int FirstColumnNot(COLORREF c) {
        for (int x = 0; x < w_; x++)
            for (int y = 0; y < h_; y++)
                if (At(x, y) != c) return x;
        return -1;
    }

    HDC dc;
    HBITMAP bmp;

private:
    HGDIOBJ old;
    int w_, h_;
};

const COLORREF kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0);

}  // namespace

TEST(DrawUtils, TextWidthAndFonts) {
    MemoryCanvas c(200, 40, kWhite);
    HFONT font = CreateEditorFont("Courier New", 10, 0, DEFAULT_CHARSET, false);
    ASSERT_NE(font, nullptr);
    LOGFONTA lf;
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(lf.lfHeight, -MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(lf.lfWeight, 0);
    int one = TextWidthIn(c.dc, font, "WWWW", 1);
    int four = TextWidthIn(c.dc, font, "WWWW", 4);
    EXPECT_GT(one, 0);
    EXPECT_EQ(four, 4 * one);
    DeleteObject(font);

    HFONT styled = CreateEditorFont("Arial", 12, 1 | 2 | 4 | 8, ANSI_CHARSET, true);  // no printer: the screen
    ASSERT_TRUE(GetObjectA(styled, sizeof lf, &lf));
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfStrikeOut, 1);
    EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    DeleteObject(styled);
}

TEST(DrawUtils, SettingsMakeRealFonts) {
    InstallWinSettingsPlatform();
    {
        TSM_Settings s;
        EXPECT_EQ(s.SelTextBack, static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));
        s.Attach();
        ASSERT_NE(s.Styles[0].Font, 0u);
        EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(s.Styles[0].Font)), static_cast<DWORD>(OBJ_FONT));
        s.Detach();
        EXPECT_EQ(s.Styles[0].Font, 0u);
    }
    SetSettingsPlatform(nullptr);
    EXPECT_EQ(ColorToRGB(static_cast<TColor>(0x80000000u | COLOR_BTNFACE)), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456u);
}

TEST(DrawUtils, MirroredTextOut) {
    MemoryCanvas c(200, 30, kWhite);
    HFONT font = CreateEditorFont("Courier New", 10, 0, DEFAULT_CHARSET, false);
    HGDIOBJ old = SelectObject(c.dc, font);
    SetBkColor(c.dc, kBlue);
    SetTextColor(c.dc, kRed);
    // A 50-pixel rectangle at x 10 mirrored across 200 lands at 140..190.
    RECT r = {10, 0, 60, 20};
    MirroredTextOut(c.dc, 10, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr, 200);
    EXPECT_EQ(c.At(139, 5), kWhite);
    EXPECT_EQ(c.At(140, 5), kBlue);
    EXPECT_EQ(c.At(189, 5), kBlue);
    EXPECT_EQ(c.At(190, 5), kWhite);
    // With x 0 the text is right-aligned in its mirrored rectangle.
    c.Fill(0, 0, 200, 30, kWhite);
    RECT whole = {0, 0, 100, 20};
    int width = TextWidthIn(c.dc, font, "ab", 2);
    MirroredTextOut(c.dc, 100, 0, ETO_CLIPPED, &whole, "ab", 2, nullptr, 200);
    int first = c.FirstColumnNot(kWhite);
    EXPECT_GE(first, 100 - width);
    EXPECT_LT(first, 100);
    SelectObject(c.dc, old);
    DeleteObject(font);
}

TEST(DrawUtils, DrawTransparent) {
    // A 4x4 bitmap: green with a red centre; green is the transparent colour.
    MemoryCanvas glyph(4, 4, kGreen);
    glyph.Fill(1, 1, 2, 2, kRed);
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    HDC tmp = CreateCompatibleDC(glyph.dc);
    HGDIOBJ old = SelectObject(tmp, bmp);
    BitBlt(tmp, 0, 0, 4, 4, glyph.dc, 0, 0, SRCCOPY);
    SelectObject(tmp, old);
    DeleteDC(tmp);

    MemoryCanvas target(10, 10, kBlue);
    DrawTransparent(target.dc, 3, 3, bmp, static_cast<TColor>(kGreen), 0, 0);
    EXPECT_EQ(target.At(3, 3), kBlue);  // transparent: the background shows
    EXPECT_EQ(target.At(4, 4), kRed);
    EXPECT_EQ(target.At(5, 5), kRed);
    EXPECT_EQ(target.At(6, 6), kBlue);
    EXPECT_EQ(target.At(2, 2), kBlue);  // outside: untouched

    // A colour the bitmap lacks: all of it is drawn.
    MemoryCanvas opaque(10, 10, kBlue);
    DrawTransparent(opaque.dc, 0, 0, bmp, static_cast<TColor>(kWhite), 0, 0);
    EXPECT_EQ(opaque.At(0, 0), kGreen);
    EXPECT_EQ(opaque.At(1, 1), kRed);
    EXPECT_EQ(opaque.At(4, 4), kBlue);
    DeleteObject(bmp);
}

// Screenshots are saved without a fourth byte, which viewers would take for
// an alpha channel of 0 and show the picture all but blank.
TEST(DrawUtils, SavedPicturesHave24BitRows) {
    TBitmap bmp(3, 2);
    bmp.Canvas().Brush.Color = RGB(10, 20, 30);
    RECT all{0, 0, 3, 2};
    bmp.Canvas().FillRect(all);
    SetPixel(bmp.Canvas().Handle(), 2, 1, RGB(200, 100, 50));
    char path[MAX_PATH], folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "bmp", 0, path);
    ASSERT_TRUE(bmp.SaveToFile(path));
    FILE* f = fopen(path, "rb");
    ASSERT_TRUE(f);
    std::string data(200, '\0');
    data.resize(fread(&data[0], 1, data.size(), f));
    fclose(f);
    DeleteFileA(path);
    const size_t header = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    ASSERT_EQ(header + 2 * 12, data.size()) << "two rows of 9 bytes, padded to 12";
    BITMAPINFOHEADER ih;
    memcpy(&ih, data.data() + sizeof(BITMAPFILEHEADER), sizeof ih);
    EXPECT_EQ(24, ih.biBitCount);
    EXPECT_EQ(-2, ih.biHeight);
    auto px = [&](int x, int y) {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(data.data()) + header + y * 12 + x * 3;
        return (p[2] << 16) | (p[1] << 8) | p[0];
    };
    EXPECT_EQ(0x0A141E, px(0, 0));
    EXPECT_EQ(0x0A141E, px(1, 1));
    EXPECT_EQ(0xC86432, px(2, 1));
}
