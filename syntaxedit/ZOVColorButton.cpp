#include "ZOVColorButton.h"

namespace {
const TColor clWindowFrame = SysColor(COLOR_WINDOWFRAME);

// Greys a disabled swatch: every other pixel black, the rest left as it is.
void DitherRect(HDC dc, const RECT& r) {
    static const WORD kChecker[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, kChecker);
    HBRUSH brush = CreatePatternBrush(pattern);
    COLORREF text = SetTextColor(dc, RGB(0, 0, 0)), back = SetBkColor(dc, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(dc, brush);
    SetBrushOrgEx(dc, r.left, r.top, nullptr);
    PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0xA000C9);  // pattern AND destination
    SelectObject(dc, old);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    DeleteObject(brush);
    DeleteObject(pattern);
}

// The thread's visible top-most windows, made normal so that the palette
// shows above them; ColorButtonRestoreTopMosts puts them back.
BOOL CALLBACK ColorButtonCollectTopMost(HWND h, LPARAM list) {
    if (IsWindowVisible(h) && (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(h);
    return TRUE;
}

std::vector<HWND> ColorButtonNormalizeTopMosts() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), ColorButtonCollectTopMost, reinterpret_cast<LPARAM>(&found));
    for (HWND h : found) SetWindowPos(h, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return found;
}

void ColorButtonRestoreTopMosts(std::vector<HWND>& windows) {
    for (HWND h : windows)
        if (IsWindow(h)) SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    windows.clear();
}

TForm* TopForm(TWinControl* c) {
    while (c && c->Parent()) c = c->Parent();
    return dynamic_cast<TForm*>(c);
}
}  // namespace

TZOVColorButton::TZOVColorButton(TWinControl* parent) : TButton(parent) {
    SetBounds(Left(), Top(), 45, 22);
    SetCaption("");
    ResetColors();
}

TZOVColorButton::~TZOVColorButton() {
    if (palette_) {
        palette_->OnPaletteClose = nullptr;
        palette_->OnSelect = nullptr;
        delete palette_;
        ColorButtonRestoreTopMosts(topMosts_);
    }
}

void TZOVColorButton::SetColorValue(TColor c) {
    if (c == color_) return;
    color_ = c;
    Invalidate();
    if (OnColorChange) OnColorChange(this);
}

void TZOVColorButton::SetStyle(int style) {
    if (style == style_) return;
    style_ = style;
    Invalidate();
}

void TZOVColorButton::SetFlat(bool flat) {
    if (flat == flat_) return;
    flat_ = flat;
    Invalidate();
}

void TZOVColorButton::ResetColors() {
    FillPaletteGrid(PaletteColors);
    for (int32_t x = 1; x <= 8; x++)
        for (int32_t y = 1; y <= 2; y++) CustomColors.Set(x, y, 0xFFFFFF);
    OtherColor = clBtnFace;
}

std::string TZOVColorButton::QualifiedName() const {
    if (!Parent()) return Name();
    return Parent()->Name() + "." + Name();
}

bool TZOVColorButton::Command(WORD code) {
    if (code != BN_CLICKED) return false;
    OpenPalette();
    return true;
}

void TZOVColorButton::CreateParams(TCreateParams& p) {
    TButton::CreateParams(p);
    p.Style = (p.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

bool TZOVColorButton::DrawItem(DRAWITEMSTRUCT& dis) {
    TCanvas canvas(dis.hDC);
    RECT r = dis.rcItem;
    bool pressed = (dis.itemState & ODS_SELECTED) || palette_;
    bool disabled = (dis.itemState & ODS_DISABLED) != 0;
    UINT state = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0);
    bool drawnFlat = flat_ && !mouseInside_ && !(dis.itemState & ODS_FOCUS);
    if (drawnFlat) state |= DFCS_FLAT;
    if (pressed) {
        canvas.Brush.Style = bsClear;
        canvas.Pen.Color = clWindowFrame;
        canvas.Rectangle(r.left, r.top, r.right, r.bottom);
        InflateRect(&r, -1, -1);
        canvas.Brush.Style = bsSolid;
        canvas.Brush.Color = clBtnFace;
        canvas.Pen.Color = clBtnShadow;
        canvas.Rectangle(r.left, r.top, r.right, r.bottom);
        InflateRect(&r, -1, -1);
    } else {
        if (style_ == 1 && !drawnFlat) {
            canvas.Brush.Style = bsClear;
            canvas.Pen.Color = clBtnShadow;
            canvas.Rectangle(r.left, r.top, r.right, r.bottom);
            InflateRect(&r, -1, -1);
        }
        RECT frame = r;
        DrawFrameControl(dis.hDC, &r, DFC_BUTTON, state);
        if (drawnFlat) {
            // No border until the mouse comes over the button.
            HBRUSH face = CreateSolidBrush(ColorToRGB(clBtnFace));
            for (int i = 0; i < 2; i++) {
                FrameRect(dis.hDC, &frame, face);
                InflateRect(&frame, -1, -1);
            }
            DeleteObject(face);
        }
    }
    RECT c = dis.rcItem;
    if (pressed) OffsetRect(&c, 1, 1);
    InflateRect(&c, -3, -3);
    if (Default() && (dis.itemState & ODS_FOCUS)) DrawFocusRect(dis.hDC, &c);
    InflateRect(&c, -1, -1);
    InflateRect(&c, -2, -1);
    c.right -= 10;
    canvas.Brush.Style = bsSolid;
    canvas.Pen.Color = clWindowFrame;
    if (disabled) {
        HBRUSH frame = CreateSolidBrush(ColorToRGB(clWindowFrame));
        FrameRect(dis.hDC, &c, frame);
        DeleteObject(frame);
        RECT inner = c;
        InflateRect(&inner, -1, -1);
        DitherRect(dis.hDC, inner);
    } else {
        canvas.Brush.Color = color_;
        canvas.Rectangle(c.left, c.top, c.right, c.bottom);
    }
    // The divider, then a small drop-down arrow.
    int x = c.right + 3;
    canvas.Pen.Color = clBtnShadow;
    canvas.MoveTo(x, c.top);
    canvas.LineTo(x, c.bottom);
    canvas.Pen.Color = clBtnHighlight;
    canvas.MoveTo(x + 1, c.top);
    canvas.LineTo(x + 1, c.bottom);
    canvas.Pen.Color = disabled ? clBtnShadow : clBtnText;
    int mid = (c.top + c.bottom) / 2 - 1;
    for (int i = 0; i < 3; i++) {
        canvas.MoveTo(x + 3 + i, mid + i);
        canvas.LineTo(x + 8 - i, mid + i);
    }
    return true;
}

bool TZOVColorButton::HandleMessage(TMessage& m) {
    switch (m.Msg) {
        case WM_LBUTTONDBLCLK: {
            // An owner-drawn button would only report the double click; a
            // quick second click must press the button again.
            TMessage down{WM_LBUTTONDOWN, m.WParam, m.LParam, 0};
            m.Result = DefaultHandler(down);
            return true;
        }
        case WM_MOUSEMOVE:
            if (!mouseInside_) {
                mouseInside_ = true;
                TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, Handle(), 0};
                TrackMouseEvent(&track);
                if (flat_) Invalidate();
            }
            return false;
        case WM_MOUSELEAVE:
            mouseInside_ = false;
            if (flat_) Invalidate();
            return false;
        default:
            return TButton::HandleMessage(m);
    }
}

void TZOVColorButton::OpenPalette() {
    if (palette_) return;
    topMosts_ = ColorButtonNormalizeTopMosts();
    auto* p = new TTSM_ZOVColorButtonPalette(TopForm(this));
    RECT r{0, 0, Width(), Height()};
    MapWindowPoints(Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int32_t left = 0, top = 0;
    TPaletteLayout::OpenPosition({r.left, r.top, r.right, r.bottom}, {work.left, work.top, work.right, work.bottom},
                                 left, top);
    p->SetBounds(left, top, p->Width(), p->Height());
    p->btnOther->SetCaption(OtherBtnCaption);
    p->OtherColor = OtherColor;
    p->GridColors.Assign(PaletteColors);
    p->CustomColors.Assign(CustomColors);
    p->SetCurrentColor(color_);
    p->OnSelect = [this](TTSM_ZOVColorButtonPalette&, TColor c) { SetColorValue(c); };
    p->OnPaletteClose = [this](TTSM_ZOVColorButtonPalette& pal, TCloseAction&) {
        CustomColors.Assign(pal.CustomColors);
        OtherColor = pal.OtherColor;
        palette_ = nullptr;
        pal.Release();
        Invalidate();
        ColorButtonRestoreTopMosts(topMosts_);
    };
    palette_ = p;
    Invalidate();
    p->Show();
}

TSM_HotKey::TSM_HotKey(TWinControl* parent) : TEdit(parent) { SetReadOnly(true); }

void TSM_HotKey::SetHotKey(TShortCut value) {
    hotKey_ = value;
    SetText(ShortCutToText(value));
}

bool TSM_HotKey::KeyDown(WORD& key, TShiftState shift) {
    SetHotKey(ShortCut(key, shift));
    return true;
}
