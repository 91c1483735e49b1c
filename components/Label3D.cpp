#include "components/Label3D.h"

TLabel3D::TLabel3D(TWinControl* parent) : TLabel(parent) { SetBounds(0, 0, 62, 16); }

void TLabel3D::SetCaptionStyle(TCaptionStyle s) {
    if (s == style_) return;
    style_ = s;
    Invalidate();
}

void TLabel3D::Paint(TCanvas& canvas) {
    RECT client{0, 0, Width(), Height()};
    canvas.Brush.Color = Color();
    canvas.FillRect(client);
    canvas.Brush.Style = bsClear;
    canvas.Font = Font();
    UINT fmt = DT_WORDBREAK | DT_EXPANDTABS;
    fmt |= Alignment == taCenter ? DT_CENTER : Alignment == taRightJustify ? DT_RIGHT : DT_LEFT;
    if (!ShowAccelChar) fmt |= DT_NOPREFIX;
    const std::string text = Caption().substr(0, 255);
    const bool recessed = style_ == csRecessed || style_ == csHeavyRecessed;
    const TColor shadow1 = recessed ? clBtnHighlight : clBtnShadow;
    const TColor shadow2 = recessed ? clBtnShadow : clBtnHighlight;
    auto drawAt = [&](int dx, int dy, TColor c) {
        RECT r = client;
        OffsetRect(&r, dx, dy);
        canvas.Font.SetColor(c);
        canvas.DrawText(text, r, fmt);
    };
    if (style_ == csHeavyRaised || style_ == csRecessed || style_ == csHeavyRecessed) drawAt(1, 1, shadow1);
    if (style_ == csRaised || style_ == csHeavyRaised || style_ == csHeavyRecessed) drawAt(-1, -1, shadow2);
    drawAt(0, 0, Enabled() ? Font().Color() : clGrayText);
}
