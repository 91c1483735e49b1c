#include "HintWindow.h"

#include <vector>

#include "HintTracker.h"
#include "ui/core/CursorMask.h"

namespace {
THintWindowClass& WindowClass() {
    static THintWindowClass make = [] { return std::make_unique<THintWindow>(); };
    return make;
}
// Room around the text inside the frame.
constexpr int kMarginX = 2, kMarginY = 1;
}  // namespace

void SetHintWindowClass(THintWindowClass make) {
    WindowClass() = make ? std::move(make) : [] { return std::make_unique<THintWindow>(); };
}

std::unique_ptr<THintWindow> MakeHintWindow() { return WindowClass()(); }

THintWindow* ApplicationHintWindow() { return THintTracker::Instance().Window(); }

THintWindow::THintWindow() : TWinControl(nullptr) {
    SetVisible(false);
    SetColor(SysColor(COLOR_INFOBK));
    LoadStatusFont(Font());
}

void THintWindow::LoadStatusFont(TFont& font) {
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
        font.SetName(ncm.lfStatusFont.lfFaceName);
        font.SetHeight(ncm.lfStatusFont.lfHeight);
        font.SetStyle((ncm.lfStatusFont.lfWeight > 500 ? TFontStyles(fsBold) : 0u) |
                      (ncm.lfStatusFont.lfItalic ? TFontStyles(fsItalic) : 0u));
    } else {
        font.SetName("MS Sans Serif");
        font.SetSize(8);
        font.SetStyle(0);
    }
    font.SetColor(SysColor(COLOR_INFOTEXT));
}

void THintWindow::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "QfHintWindow";
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    p.ClassStyle |= CS_SAVEBITS;
}

bool THintWindow::HandleMessage(TMessage& m) {
    // The mouse goes through to what lies below: the tip never takes it.
    if (m.Msg == WM_NCHITTEST) {
        m.Result = HTTRANSPARENT;
        return true;
    }
    return false;
}

RECT THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
    RECT r{0, 0, maxWidth, 0};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    DrawTextA(dc, hint.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // The frame (WS_BORDER) and the margins around the text.
    const int border = GetSystemMetrics(SM_CXBORDER);
    r.right += 2 * (kMarginX + border);
    r.bottom += 2 * (kMarginY + border);
    return r;
}

void THintWindow::ActivateHint(const RECT& rect, const std::string& hint) {
    SetCaption(hint);
    SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    SetWindowPos(Handle(), HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void THintWindow::ReleaseHint() {
    if (HandleAllocated() && IsWindowVisible(Handle()))
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void THintWindow::Paint(TCanvas& canvas) {
    RECT r;
    GetClientRect(Handle(), &r);
    canvas.Brush.Color = SysColor(COLOR_INFOBK);
    canvas.FillRect(r);
    canvas.Brush.Style = bsClear;
    canvas.Font = Font();
    InflateRect(&r, -kMarginX, -kMarginY);
    canvas.DrawText(Caption(), r, DT_CENTER | DT_NOPREFIX | DT_WORDBREAK);
}

int THintWindow::CursorHeight(HCURSOR cursor) {
    ICONINFO ii = {};
    if (!cursor || !GetIconInfo(cursor, &ii)) return 32;
    int result = 32;
    BITMAP bm = {};
    if (ii.hbmMask && GetObjectA(ii.hbmMask, sizeof bm, &bm) && bm.bmWidth == 32) {
        const int rows = bm.bmHeight < 64 ? bm.bmHeight : 64;
        std::vector<uint32_t> bits(64, 0xFFFFFFFFu);
        std::vector<uint8_t> raw(static_cast<size_t>(bm.bmWidthBytes) * bm.bmHeight);
        GetBitmapBits(ii.hbmMask, static_cast<LONG>(raw.size()), raw.data());
        for (int y = 0; y < rows; ++y) {
            const uint8_t* p = raw.data() + static_cast<size_t>(y) * bm.bmWidthBytes;
            bits[y] = (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
        }
        result = CursorHeightBelow(bits.data(), rows, static_cast<int>(ii.yHotspot));
    }
    if (ii.hbmMask) DeleteObject(ii.hbmMask);
    if (ii.hbmColor) DeleteObject(ii.hbmColor);
    return result;
}
