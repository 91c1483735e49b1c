#include "components/ButtonGlyph.h"

#include "runtime/core/SysUtils.h"

namespace {

uint32_t Rgb(TColor c) {
    const COLORREF v = ColorToRGB(c);
    return (uint32_t(GetRValue(v)) << 16) | (uint32_t(GetGValue(v)) << 8) | GetBValue(v);
}

// A DIB section for the pixels; the caller deletes it.
HBITMAP MakeBitmap(int w, int h, const uint32_t* pixels) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bmp && bits) memcpy(bits, pixels, static_cast<size_t>(w) * h * 4);
    return bmp;
}

HBITMAP MakeMask(int w, int h, const std::vector<bool>& transparent) {
    const int stride = ((w + 15) / 16) * 2;
    std::vector<uint8_t> bits(static_cast<size_t>(stride) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (transparent[static_cast<size_t>(y) * w + x]) bits[static_cast<size_t>(y) * stride + x / 8] |= 0x80 >> (x % 8);
    return CreateBitmap(w, h, 1, 1, bits.data());
}

}  // namespace

// ---- TGlyphList

TGlyphList::TGlyphList(int width, int height)
    : list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)), width_(width), height_(height) {}

TGlyphList::~TGlyphList() {
    if (list_) ImageList_Destroy(list_);
}

int TGlyphList::AllocateIndex() {
    size_t i = 0;
    while (i < used_.size() && used_[i]) ++i;
    if (i == used_.size()) used_.push_back(false);
    used_[i] = true;
    return static_cast<int>(i);
}

int TGlyphList::AddWithMask(const std::vector<uint32_t>& pixels, const std::vector<bool>& transparent) {
    const int index = AllocateIndex();
    HBITMAP img = MakeBitmap(width_, height_, pixels.data());
    HBITMAP mask = MakeMask(width_, height_, transparent);
    const bool ok = index < ImageList_GetImageCount(list_) ? ImageList_Replace(list_, index, img, mask) != FALSE
                                                           : ImageList_Add(list_, img, mask) == index;
    DeleteObject(img);
    DeleteObject(mask);
    if (!ok) {
        used_[static_cast<size_t>(index)] = false;
        throw Exception("Unable to Replace Image");
    }
    ++count_;
    return index;
}

void TGlyphList::ReleaseIndex(int index) {
    if (index >= 0 && static_cast<size_t>(index) < used_.size() && used_[static_cast<size_t>(index)]) {
        used_[static_cast<size_t>(index)] = false;
        --count_;
    }
}

// ---- TGlyphCache

TGlyphCache& TGlyphCache::Instance() {
    static TGlyphCache cache;
    return cache;
}

TGlyphList* TGlyphCache::GetList(int width, int height) {
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
        if ((*it)->Width() == width && (*it)->Height() == height) return it->get();
    lists_.push_back(std::make_unique<TGlyphList>(width, height));
    return lists_.back().get();
}

void TGlyphCache::ReturnList(TGlyphList* list) {
    if (!list || list->Count() != 0) return;
    for (auto it = lists_.begin(); it != lists_.end(); ++it)
        if (it->get() == list) {
            lists_.erase(it);
            return;
        }
}

// ---- TButtonGlyph

TButtonGlyph::~TButtonGlyph() { InvalidateImages(); }

void TButtonGlyph::SetGlyph(HBITMAP bmp) {
    InvalidateImages();
    pixels_.clear();
    glyphW_ = glyphH_ = 0;
    BITMAP bm = {};
    if (bmp && GetObjectA(bmp, sizeof bm, &bm) && bm.bmWidth > 0 && bm.bmHeight > 0) {
        glyphW_ = bm.bmWidth;
        glyphH_ = bm.bmHeight;
        pixels_.resize(static_cast<size_t>(glyphW_) * glyphH_);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = glyphW_;
        bi.bmiHeader.biHeight = -glyphH_;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        HDC dc = GetDC(nullptr);
        GetDIBits(dc, bmp, 0, static_cast<UINT>(glyphH_), pixels_.data(), &bi, DIB_RGB_COLORS);
        ReleaseDC(nullptr, dc);
        for (uint32_t& p : pixels_) p &= 0xFFFFFF;
    }
    numGlyphs_ = NumGlyphsForSize(glyphW_, glyphH_);
    Changed();
}

void TButtonGlyph::SetNumGlyphs(int n) {
    InvalidateImages();
    numGlyphs_ = ClampNumGlyphs(n);
    Changed();
}

void TButtonGlyph::SetOldDisabledStyle(bool v) {
    oldDisabled_ = v;
    InvalidateImages();
    Changed();
}

void TButtonGlyph::Changed() {
    if (OnChange) OnChange();
}

void TButtonGlyph::InvalidateImages() {
    for (int slot = 0; slot < 2; ++slot) {
        if (!lists_[slot]) continue;
        for (int& index : indexes_[slot]) {
            if (index >= 0) lists_[slot]->ReleaseIndex(index);
            index = -1;
        }
        TGlyphCache::Instance().ReturnList(lists_[slot]);
        lists_[slot] = nullptr;
    }
}

std::pair<TGlyphList*, int> TButtonGlyph::CreateStateImage(TButtonPaintState state) {
    int n = state;
    if (state != bsDisabled && n >= numGlyphs_) n = bsUp;
    if (indexes_[1][n] >= 0) return {lists_[1], indexes_[1][n]};
    if (indexes_[0][n] >= 0) return {lists_[0], indexes_[0][n]};
    if (!HasGlyph()) return {nullptr, -1};
    const int slot = state == bsDisabled ? 0 : 1;
    const int w = ImageWidth(), h = glyphH_;
    const int tw = slot == 0 ? w + 1 : w, th = slot == 0 ? h + 1 : h;
    if (!lists_[slot]) lists_[slot] = TGlyphCache::Instance().GetList(tw, th);
    const int cell = n < numGlyphs_ ? n : 0;
    const uint32_t transparent = Pixel(0, h - 1);  // the strip's lower-left pixel
    const uint32_t face = Rgb(clBtnFace), hilite = Rgb(clBtnHighlight), shadow = Rgb(clBtnShadow);
    std::vector<uint32_t> img(static_cast<size_t>(tw) * th, face);
    std::vector<bool> clear(static_cast<size_t>(tw) * th, true);
    auto at = [&](int x, int y) { return static_cast<size_t>(y) * tw + x; };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = Pixel(cell * w + x, y);
            if (state != bsDisabled) {
                img[at(x, y)] = p;
                clear[at(x, y)] = p == transparent;
            } else if (numGlyphs_ >= 2) {  // the strip's own disabled cell, in system colours
                img[at(x, y)] = p == 0xFFFFFF ? hilite : p == 0x808080 ? shadow : p;
                clear[at(x, y)] = p == transparent;
            }
        }
    if (state == bsDisabled && numGlyphs_ < 2) {
        // Embossed: the glyph's marked pixels in highlight one pixel down-right, then in shadow.
        auto marked = [&](int x, int y) {
            const uint32_t p = Pixel(x, y);
            if (oldDisabled_) return p == 0;
            return !(p == 0xFFFFFF || p == 0xC0C0C0 || p == transparent);
        };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (marked(x, y)) img[at(x + 1, y + 1)] = hilite;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (marked(x, y)) img[at(x, y)] = shadow;
        for (size_t i = 0; i < img.size(); ++i) clear[i] = img[i] == face;
    }
    const int index = lists_[slot]->AddWithMask(img, clear);
    indexes_[slot][n] = index;
    return {lists_[slot], index};
}

void TButtonGlyph::DrawArrow(TCanvas& canvas, int x, int y, TButtonPaintState state) {
    auto triangle = [&](int dx, int dy, TColor c) {
        const COLORREF rgb = ColorToRGB(c);
        HBRUSH b = CreateSolidBrush(rgb);
        HPEN p = CreatePen(PS_SOLID, 1, rgb);
        HGDIOBJ ob = SelectObject(canvas.Handle(), b), op = SelectObject(canvas.Handle(), p);
        POINT pts[3] = {{x + 4 + dx, y + dy}, {x + 8 + dx, y + dy}, {x + 6 + dx, y + 2 + dy}};
        Polygon(canvas.Handle(), pts, 3);
        SelectObject(canvas.Handle(), ob);
        SelectObject(canvas.Handle(), op);
        DeleteObject(b);
        DeleteObject(p);
    };
    if (state == bsDisabled) {
        triangle(1, 1, clBtnHighlight);
        triangle(0, 0, clBtnShadow);
    } else {
        triangle(0, 0, canvas.Font.Color());
    }
}

void TButtonGlyph::Draw(TCanvas& canvas, const TLayoutInput& in, TButtonPaintState state, UINT alignmentFlag) {
    TLayoutInput layout = in;
    layout.GlyphWidth = ImageWidth();
    layout.GlyphHeight = ImageHeight();
    HDC dc = canvas.Handle();
    HGDIOBJ oldFont = SelectObject(dc, canvas.Font.Handle());
    const TLayoutResult r = CalcLayout(layout, [dc](const std::string& s, int boxW, bool wrap) {
        RECT rc{0, 0, boxW, 0};
        DrawTextA(dc, s.c_str(), -1, &rc, DT_CALCRECT | (wrap ? DT_WORDBREAK : 0));
        return TLayoutPoint{rc.right - rc.left, rc.bottom - rc.top};
    });
    SelectObject(dc, oldFont);
    if (layout.ShowGlyph) {
        const auto image = CreateStateImage(state);
        if (image.second >= 0) ImageList_Draw(image.first->Handle(), image.second, dc, r.GlyphPos.X, r.GlyphPos.Y,
                                              ILD_TRANSPARENT);
    }
    if (layout.ShowText && !layout.Caption.empty()) {
        canvas.Brush.Style = bsClear;
        const UINT fmt = alignmentFlag | (layout.WordWrap ? DT_WORDBREAK | DT_VCENTER : DT_SINGLELINE | DT_VCENTER);
        RECT tr{r.TextRect.Left, r.TextRect.Top, r.TextRect.Right, r.TextRect.Bottom};
        if (state == bsDisabled) {
            const TColor own = canvas.Font.Color();
            RECT moved = tr;
            OffsetRect(&moved, 1, 1);
            canvas.Font.SetColor(clBtnHighlight);
            canvas.DrawText(layout.Caption, moved, fmt);
            canvas.Font.SetColor(clBtnShadow);
            canvas.DrawText(layout.Caption, tr, fmt);
            canvas.Font.SetColor(own);
        } else {
            canvas.DrawText(layout.Caption, tr, fmt);
        }
    }
    if (layout.ShowArrow) DrawArrow(canvas, r.ArrowPos.X, r.ArrowPos.Y, state);
}
