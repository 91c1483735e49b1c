// A form holding one log-style editor control, with its picture taken
// into a DIB, for the tests that drive the real window.
#pragma once

#include <set>
#include <string>

#include "SyntaxMemo.h"
#include "ui/Form.h"
#include "ui/Graphics.h"

namespace {

const TColor kRed = 0x0000FF, kGreen = 0x00C000, kWhite = 0xFFFFFF;
[[maybe_unused]] uint32_t Rgb(TColor c) {
    COLORREF v = ColorToRGB(c);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

[[maybe_unused]] void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A form holding one log-style memo: no gutter, a 2-pixel margin.
struct MemoForm {
    MemoForm(int width = 400, int height = 200) {
        form.SetBounds(0, 0, width + 40, height + 60);
        memo = new TSyntaxMemo(&form);
        memo->SetBounds(0, 0, width, height);
        memo->SetOptions(memo->Options() & ~smoShowGutter);
        form.Show();
        Drain();
    }
    // Paints the memo's client area into a DIB of its size.
    TBitmap& Snap() {
        RECT r;
        GetClientRect(memo->Handle(), &r);
        bmp.SetSize(r.right, r.bottom);
        memo->PaintTo(bmp.Canvas().Handle());
        return bmp;
    }
    // The colours found in row (line) from x0 to the end of the row's text area.
    std::set<uint32_t> RowColours(int row, int x0 = 0, int x1 = -1) {
        std::set<uint32_t> out;
        int lh = memo->Core().LineHeight();
        if (x1 < 0) x1 = bmp.Width();
        for (int y = row * lh; y < (row + 1) * lh; y++)
            for (int x = x0; x < x1; x++) out.insert(bmp.PixelRGB(x, y));
        return out;
    }
    void Log(const std::string& s, TColor c) {
        memo->Lines().Add(s);
        int n = memo->Lines().Count();
        memo->SetLineTextColor(n + 1, c);
        memo->SetLineTextBack(n + 1, memo->def_BackColor());
        memo->Repaint();
    }
    TForm form;
    TSyntaxMemo* memo;
    TBitmap bmp;
};

}  // namespace
