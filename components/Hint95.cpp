#include "components/Hint95.h"

#include <vector>

namespace {

TComponent* g_mainForm = nullptr;

THint95* FindStyleSource() {
    if (!g_mainForm) return nullptr;
    for (int i = 0; i < g_mainForm->ComponentCount(); ++i)
        if (auto* h = dynamic_cast<THint95*>(g_mainForm->Components(i))) return h;
    return nullptr;
}

int CALLBACK FontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool FontInstalled(const char* face) {
    bool found = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesA(dc, face, FontFound, reinterpret_cast<LPARAM>(&found));
    ReleaseDC(nullptr, dc);
    return found;
}

void LoadStatusFont(TFont& font, THintStyle style) {
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
    if (style == hsOffice97 && font.Name() == "MS Sans Serif" && FontInstalled("Tahoma")) font.SetName("Tahoma");
    font.SetColor(SysColor(COLOR_INFOTEXT));
}

}  // namespace

void SetHintMainForm(TComponent* form) { g_mainForm = form; }

TApplicationHints& TApplicationHints::Instance() {
    static TApplicationHints hints;
    return hints;
}

void TApplicationHints::SetShowHint(bool show) {
    showHint_ = show;
    window_.reset();
    if (show && windowClass_) window_ = windowClass_();
}

THint95::THint95(TComponent* owner) : TComponent(owner) {
    // Tips in this style from now on: off and on again remakes the window of the new class.
    TApplicationHints& hints = TApplicationHints::Instance();
    hints.SetHintWindowClass([] { return std::make_unique<THintWindow95>(); });
    hints.SetShowHint(!hints.ShowHint());
    hints.SetShowHint(!hints.ShowHint());
    hints.HintPause = 500;
    hints.HintHidePause = 5000;
    hints.HintShortPause = 25;
    LoadFont();
    // The system's fonts may change while the program runs: follow them.
    window_ = std::make_unique<THiddenWindow>("QfHint95", [this](UINT msg, WPARAM, LPARAM, LRESULT& r) {
        if (msg != WM_SETTINGCHANGE) return false;
        LoadFont();
        r = 0;
        return true;
    });
}

THint95::~THint95() = default;

void THint95::SetHintStyle(THintStyle s) {
    if (s == style_) return;
    style_ = s;
    LoadFont();
}

void THint95::LoadFont() { LoadStatusFont(font_, style_); }

THintWindow95::THintWindow95() : TWinControl(nullptr) { SetVisible(false); }

void THintWindow95::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = "QfHintWindow95";
    p.Style = WS_POPUP;  // no WS_BORDER: the style draws its own frame
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    p.ClassStyle |= CS_SAVEBITS;
}

int THintWindow95::CursorHeight(HCURSOR cursor) {
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

void THintWindow95::ActivateHint(const RECT&, const std::string& hint) {
    SetCaption(hint);
    THint95* source = FindStyleSource();
    style_ = source ? source->HintStyle() : hsWindows95;
    if (source) {
        Font() = source->HintFont();
    } else {
        LoadStatusFont(Font(), style_);
    }
    POINT pt;
    GetCursorPos(&pt);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font().Handle());
    RECT tr{0, 0, 0, 0};
    DrawTextA(dc, hint.c_str(), -1, &tr, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    textH_ = tr.bottom - tr.top;
    const THintRect r = PlaceHint(style_, pt.x, pt.y, CursorHeight(GetCursor()), tr.right - tr.left, textH_,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void THintWindow95::Paint(TCanvas& canvas) {
    const int w = Width(), h = Height();
    TBitmap off(w, h);
    TCanvas& c = off.Canvas();
    RECT all{0, 0, w, h};
    c.Brush.Color = SysColor(COLOR_INFOBK);
    c.FillRect(all);
    const TColor topLeft = style_ == hsWindows95 ? SysColor(COLOR_3DLIGHT) : SysColor(COLOR_WINDOWFRAME);
    const TColor bottomRight = style_ == hsWindows95 ? SysColor(COLOR_3DDKSHADOW) : SysColor(COLOR_WINDOWFRAME);
    c.Pen.Color = topLeft;
    c.MoveTo(0, h - 2);
    c.LineTo(0, 0);
    c.LineTo(w - 1, 0);
    c.Pen.Color = bottomRight;
    c.MoveTo(0, h - 1);
    c.LineTo(w - 1, h - 1);
    c.LineTo(w - 1, -1);
    c.Brush.Style = bsClear;
    c.Font = Font();
    RECT tr{0, (h - textH_) / 2, w, (h - textH_) / 2 + textH_};
    c.DrawText(Caption(), tr, DT_CENTER | DT_NOPREFIX | DT_NOCLIP);
    BitBlt(canvas.Handle(), 0, 0, w, h, off.Canvas().Handle(), 0, 0, SRCCOPY);
}
