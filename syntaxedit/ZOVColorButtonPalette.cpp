#include "ZOVColorButtonPalette.h"

#include "ui/core/Prompter.h"

namespace {

const TColor cl3DDkShadow = SysColor(COLOR_3DDKSHADOW), cl3DLight = SysColor(COLOR_3DLIGHT);

// Collects the first 20 solid pens a 16-colour screen lists.
int CALLBACK PaletteCollectSolidPen(LPVOID object, LPARAM list) {
    const LOGPEN* pen = static_cast<const LOGPEN*>(object);
    auto* found = reinterpret_cast<std::vector<TColor>*>(list);
    if (pen->lopnStyle == PS_SOLID) found->push_back(static_cast<TColor>(pen->lopnColor));
    return found->size() < 20;
}

}  // namespace

void FillPaletteGrid(TColorArrayClass& grid) {
    std::vector<TColor> pens;
    HDC dc = GetDC(nullptr);
    if (GetDeviceCaps(dc, NUMCOLORS) == 16)
        EnumObjects(dc, OBJ_PEN, PaletteCollectSolidPen, reinterpret_cast<LPARAM>(&pens));
    ReleaseDC(nullptr, dc);
    for (int32_t x = 1; x <= TPaletteLayout::kColumns; x++)
        for (int32_t y = 1; y <= TPaletteLayout::kRows; y++) grid.Set(x, y, TPaletteLayout::GridColor(x, y, pens));
}

TTSM_ZOVColorButtonPalette::TTSM_ZOVColorButtonPalette(TForm* owner) : TForm(owner) {
    // A raised frame around the 72 x 121 client; CreateParams takes the caption off.
    SetBorderStyle(bsDialog);
    SetBounds(0, 0, TPaletteLayout::kClientWidth + 6, TPaletteLayout::kClientHeight + 6);
    FillPaletteGrid(GridColors);
    for (int32_t x = 1; x <= 8; x++)
        for (int32_t y = 1; y <= 2; y++) CustomColors.Set(x, y, 0xFFFFFF);
    btnOther = new TButton(this);
    btnOther->SetCaption("&Other");
    btnOther->SetBounds(2, TPaletteLayout::kOtherButtonTop, TPaletteLayout::kClientWidth - 22, 23);
    btnOther->OnClick = [this](TObject*) { ChooseOther(); };
}

void TTSM_ZOVColorButtonPalette::CreateParams(TCreateParams& p) {
    TForm::CreateParams(p);
    // A top-level window that is no pop-up always gets a caption.
    p.Style = (p.Style & ~static_cast<DWORD>(WS_CAPTION)) | WS_POPUP;
}

TColor TTSM_ZOVColorButtonPalette::CellColor(TPaletteCell c) const {
    if (c.X == 0 && c.Y == 0) return OtherColor;
    return GridColors.Get(c.X, c.Y);
}

void TTSM_ZOVColorButtonPalette::SetCurrentColor(TColor c) {
    current_ = c;
    hot_ = TPaletteCell();
    for (int32_t y = 1; y <= 5 && !hot_.Valid(); y++)
        for (int32_t x = 1; x <= 4; x++)
            if (ColorToRGB(GridColors.Get(x, y)) == ColorToRGB(c)) {
                hot_ = {x, y};
                break;
            }
    if (!hot_.Valid()) {
        OtherColor = c;
        hot_ = {0, 0};
    }
    Invalidate();
}

void TTSM_ZOVColorButtonPalette::PaintCell(TCanvas& canvas, TPaletteCell c, bool hot) {
    TPaletteRect s = TPaletteLayout::CellRect(c, TPaletteLayout::kClientWidth);
    // Three 1-pixel frames inside the 16-pixel cell, the swatch within.
    RECT r{s.Left, s.Top, s.Right, s.Bottom};
    auto frame = [&](TColor topLeft, TColor bottomRight) {
        canvas.Pen.Color = topLeft;
        canvas.MoveTo(r.left, r.bottom - 1);
        canvas.LineTo(r.left, r.top);
        canvas.LineTo(r.right, r.top);
        canvas.Pen.Color = bottomRight;
        canvas.MoveTo(r.right - 1, r.top + 1);
        canvas.LineTo(r.right - 1, r.bottom - 1);
        canvas.LineTo(r.left - 1, r.bottom - 1);
        InflateRect(&r, -1, -1);
    };
    if (hot) {
        frame(cl3DDkShadow, cl3DDkShadow);
        frame(clBtnHighlight, clBtnHighlight);
        frame(cl3DDkShadow, cl3DDkShadow);
    } else {
        frame(Color(), Color());
        frame(clBtnShadow, clBtnHighlight);
        frame(cl3DDkShadow, cl3DLight);
    }
    canvas.Brush.Color = CellColor(c);
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(r);
}

void TTSM_ZOVColorButtonPalette::Paint(TCanvas& canvas) {
    RECT all{0, 0, TPaletteLayout::kClientWidth, TPaletteLayout::kClientHeight};
    canvas.Brush.Color = Color();
    canvas.FillRect(all);
    canvas.Pen.Color = clBtnShadow;
    canvas.MoveTo(2, 93);
    canvas.LineTo(TPaletteLayout::kClientWidth - 2, 93);
    canvas.Pen.Color = clBtnHighlight;
    canvas.MoveTo(2, 94);
    canvas.LineTo(TPaletteLayout::kClientWidth - 2, 94);
    for (int32_t y = 1; y <= 5; y++)
        for (int32_t x = 1; x <= 4; x++) PaintCell(canvas, {x, y}, hot_ == TPaletteCell{x, y});
    PaintCell(canvas, {0, 0}, hot_ == TPaletteCell{0, 0});
}

bool TTSM_ZOVColorButtonPalette::MouseMove(TShiftState, int x, int y) {
    TPaletteCell c = TPaletteLayout::HitTest(x, y, TPaletteLayout::kClientWidth);
    if (c.Valid() && !(c == hot_)) {
        hot_ = c;
        Invalidate();
    }
    return true;
}

bool TTSM_ZOVColorButtonPalette::MouseUp(TMouseButton, TShiftState, int x, int y) {
    TPaletteCell c = TPaletteLayout::HitTest(x, y, TPaletteLayout::kClientWidth);
    if (OnSelect && c.Valid()) OnSelect(*this, CellColor(c));
    ClosePalette();
    return true;
}

bool TTSM_ZOVColorButtonPalette::KeyDown(WORD& key, TShiftState shift) {
    if (key == VK_ESCAPE) {
        ClosePalette();
        return true;
    }
    return TForm::KeyDown(key, shift);
}

bool TTSM_ZOVColorButtonPalette::HandleMessage(TMessage& m) {
    // A click anywhere else takes the activation away: the drop-down goes,
    // as a menu would (ClosePalette waits while the colour dialog is open).
    if ((m.Msg == WM_ACTIVATE && LOWORD(m.WParam) == WA_INACTIVE) || (m.Msg == WM_ACTIVATEAPP && !m.WParam))
        ClosePalette();
    return TForm::HandleMessage(m);
}

void TTSM_ZOVColorButtonPalette::ClosePalette() {
    if (dialogOpen_ || closed_) return;
    TCloseAction action = caFree;
    if (OnPaletteClose) OnPaletteClose(*this, action);
    closed_ = true;
    Hide();
}

void TTSM_ZOVColorButtonPalette::ChooseOther() {
    uint32_t c = static_cast<uint32_t>(ColorToRGB(OtherColor));
    // Custom cell (x, y) is the dialog's custom colour (x - 1) + 8 (y - 1);
    // they come back only with OK.
    uint32_t custom[16];
    for (int32_t i = 0; i < 16; i++) custom[i] = static_cast<uint32_t>(CustomColors.Get(i % 8 + 1, i / 8 + 1));
    dialogOpen_ = true;
    bool ok = Prompter().CustomColorDialog(c, custom);
    dialogOpen_ = false;
    if (!ok) return;
    for (int32_t i = 0; i < 16; i++) CustomColors.Set(i % 8 + 1, i / 8 + 1, static_cast<TColor>(custom[i]));
    OtherColor = static_cast<TColor>(c);
    if (OnSelect) OnSelect(*this, OtherColor);
    ClosePalette();
}
