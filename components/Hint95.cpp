#include "components/Hint95.h"

#include "runtime/Application.h"

namespace {

THint95* FindStyleSource() {
    TComponent* form = Application->MainForm();
    if (!form) return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* h = dynamic_cast<THint95*>(form->Components(i))) return h;
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

void LoadHintFont(TFont& font, THintStyle style) {
    THintWindow::LoadStatusFont(font);
    // Only the Office 97 style looks for the other face.
    const bool tahoma = style == hsOffice97 && font.Name() == "MS Sans Serif" && FontInstalled("Tahoma");
    font.SetName(HintFontFace(style, font.Name(), tahoma));
}

}  // namespace

THint95::THint95(TComponent* owner) : TComponent(owner) {
    // Tips in this style from now on: off and on again remakes the window of the new class.
    SetHintWindowClass([] { return std::make_unique<THintWindow95>(); });
    Application->SetShowHint(!Application->ShowHint());
    Application->SetShowHint(!Application->ShowHint());
    Application->HintPause = 500;
    Application->HintHidePause = 5000;
    Application->HintShortPause = 25;
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

void THint95::LoadFont() { LoadHintFont(font_, style_); }

void THintWindow95::CreateParams(TCreateParams& p) {
    THintWindow::CreateParams(p);
    p.WinClassName = "QfHintWindow95";
    p.Style &= ~static_cast<DWORD>(WS_BORDER);  // the style draws its own frame
}

void THintWindow95::ActivateHint(const RECT&, const std::string& hint) {
    SetCaption(hint);
    THint95* source = FindStyleSource();
    style_ = source ? source->HintStyle() : hsWindows95;
    if (source) {
        Font() = source->HintFont();
    } else {
        LoadHintFont(Font(), style_);
    }
    POINT pt;
    GetCursorPos(&pt);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, Font().Handle());
    RECT tr{0, 0, 0, 0};
    DrawTextA(screen, hint.c_str(), -1, &tr, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(screen, old);
    textH_ = tr.bottom - tr.top;
    const THintRect r = PlaceHint(style_, pt.x, pt.y, CursorHeight(GetCursor()), tr.right - tr.left, textH_,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    const int w = r.Right - r.Left, h = r.Bottom - r.Top;
    SetBounds(r.Left, r.Top, w, h);
    // The tip first shows what lies under it; Paint then draws over that.
    image_ = std::make_unique<TBitmap>(w, h);
    BitBlt(image_->Canvas().Handle(), 0, 0, w, h, screen, r.Left, r.Top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, w, h, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    HDC dc = GetDC(Handle());
    BitBlt(dc, 0, 0, w, h, image_->Canvas().Handle(), 0, 0, SRCCOPY);
    ReleaseDC(Handle(), dc);
    InvalidateRect(Handle(), nullptr, FALSE);
}

void THintWindow95::Paint(TCanvas& canvas) {
    const int w = Width(), h = Height();
    if (!image_ || image_->Width() != w || image_->Height() != h) image_ = std::make_unique<TBitmap>(w, h);
    TCanvas& c = image_->Canvas();
    RECT all{0, 0, w, h};
    c.Brush.Style = bsSolid;
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
    BitBlt(canvas.Handle(), 0, 0, w, h, c.Handle(), 0, 0, SRCCOPY);
}
