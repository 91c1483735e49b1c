#include "components/core/ButtonLayout.h"

int NumGlyphsForSize(int width, int height) {
    if (width > 0 && height > 0 && width % height == 0 && width / height < 6) return width / height;
    return 1;
}

int ClampNumGlyphs(int n) { return n < 1 ? 1 : (n > 5 ? 5 : n); }

namespace {

TLayoutPoint MeasureText(const TLayoutInput& in, bool horizontal, int gw, int aw, int clientW,
                         const TTextMeasure& measure) {
    if (!in.ShowText || in.Caption.empty()) return {};
    int boxW = clientW;
    if (horizontal) boxW -= aw;
    if (in.WordWrap) {
        if (horizontal && gw > 0) {
            boxW -= gw + (in.Spacing == -1 ? 4 : in.Spacing);
            const int m = in.Margin != -1 ? in.Margin : (in.Spacing != -1 ? in.Spacing : 4);
            boxW -= 2 * m;
        } else {
            boxW -= 2 * 4;
        }
    }
    return measure(in.Caption, boxW, in.WordWrap);
}

}  // namespace

TLayoutResult CalcLayout(const TLayoutInput& in, const TTextMeasure& measure) {
    const int cw = in.Client.Right - in.Client.Left, ch = in.Client.Bottom - in.Client.Top;
    const int gw = in.ShowGlyph ? in.GlyphWidth : 0, gh = in.ShowGlyph ? in.GlyphHeight : 0;
    const bool hasGlyph = gw > 0 && gh > 0;
    const int aw = in.ShowArrow ? 9 : 0;
    TButtonLayout layout = in.Layout;
    bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    if (!horizontal && !hasGlyph) {
        layout = blGlyphLeft;
        horizontal = true;
    }
    const TLayoutPoint text = MeasureText(in, horizontal, gw, aw, cw, measure);
    TLayoutResult r;
    TLayoutPoint textPos;
    if (horizontal) {
        r.GlyphPos.Y = (ch - gh + 1) / 2;
        textPos.Y = (ch - text.Y + 1) / 2;
    } else {
        r.GlyphPos.X = (cw - gw - aw + 1) / 2;
        textPos.X = (cw - text.X + 1) / 2;
        r.ArrowPos.X = hasGlyph ? r.GlyphPos.X + gw : textPos.X + text.X;
    }
    int margin = in.Margin, spacing = in.Spacing;
    if (text.X == 0 || !hasGlyph) spacing = 0;
    const int size = horizontal ? cw : ch;
    const int glyphAlong = horizontal ? gw : gh, textAlong = horizontal ? text.X : text.Y;
    const int total = glyphAlong + textAlong + (horizontal ? aw : 0);
    if (margin == -1 && spacing == -1) {
        margin = spacing = (size - total) / 3;
    } else if (margin == -1) {
        margin = (size - (total + spacing) + 1) / 2;
    } else if (spacing == -1) {
        spacing = (size - margin - glyphAlong - (horizontal ? aw : 0) - textAlong) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        r.GlyphPos.X = margin;
        textPos.X = gw + margin + spacing;
        r.ArrowPos.X = textPos.X + text.X;
        break;
    case blGlyphRight:
        r.ArrowPos.X = cw - margin - aw;
        r.GlyphPos.X = r.ArrowPos.X - gw;
        textPos.X = r.GlyphPos.X - spacing - text.X;
        break;
    case blGlyphTop:
        r.GlyphPos.Y = margin;
        textPos.Y = gh + margin + spacing;
        break;
    case blGlyphBottom:
        r.GlyphPos.Y = ch - margin - gh;
        textPos.Y = r.GlyphPos.Y - spacing - text.Y;
        break;
    }
    r.ArrowPos.Y = hasGlyph ? r.GlyphPos.Y + (gh - 3) / 2 : textPos.Y + (text.Y - 3) / 2;
    const int dx = in.Client.Left + in.Offset.X, dy = in.Client.Top + in.Offset.Y;
    r.GlyphPos = {r.GlyphPos.X + dx, r.GlyphPos.Y + dy};
    r.ArrowPos = {r.ArrowPos.X + dx, r.ArrowPos.Y + dy};
    r.TextRect = {textPos.X + dx, textPos.Y + dy, textPos.X + dx + text.X, textPos.Y + dy + text.Y};
    return r;
}
