#include "components/ButtonGlyph.h"

#include "runtime/core/SysUtils.h"

namespace {

uint32_t Rgb(TColor c) {
    const COLORREF v = ColorToRGB(c);
    return (uint32_t(GetRValue(v)) << 16) | (uint32_t(GetGValue(v)) << 8) | GetBValue(v);
}

BITMAPINFO TopDown32(int w, int h) {
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    return bi;
}

// A DIB section for the pixels; the caller deletes it.
HBITMAP MakeBitmap(int w, int h, const uint32_t* pixels, uint32_t** bitsOut = nullptr) {
    BITMAPINFO bi = TopDown32(w, h);
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bmp && bits) memcpy(bits, pixels, static_cast<size_t>(w) * h * 4);
    if (bitsOut) *bitsOut = static_cast<uint32_t*>(bits);
    return bmp;
}

// Any bitmap's pixels as 0x00RRGGBB, top-down; false when it is empty.
bool ReadPixels(HBITMAP bmp, int& w, int& h, std::vector<uint32_t>& pixels) {
    w = h = 0;
    pixels.clear();
    BITMAP bm = {};
    if (!bmp || !GetObjectA(bmp, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
    w = bm.bmWidth;
    h = bm.bmHeight;
    pixels.resize(static_cast<size_t>(w) * h);
    BITMAPINFO bi = TopDown32(w, h);
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, bmp, 0, static_cast<UINT>(h), pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    for (uint32_t& p : pixels) p &= 0xFFFFFF;
    return true;
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

TButtonGlyph::~TButtonGlyph() {
    InvalidateImages();
    if (images_) images_->UnRegisterChanges(this);
}

void TButtonGlyph::SetGlyph(HBITMAP bmp) {
    InvalidateImages();
    ReadPixels(bmp, glyphW_, glyphH_, pixels_);
    numGlyphs_ = images_ ? 1 : NumGlyphsForSize(glyphW_, glyphH_);
    Changed();
}

void TButtonGlyph::SetGlyphMask(HBITMAP bmp) {
    InvalidateImages();
    std::vector<uint32_t> pixels;
    ReadPixels(bmp, maskW_, maskH_, pixels);
    maskPixels_.assign(pixels.size(), 0);
    // Monochrome: anything nearer white than black is the transparent part.
    for (size_t i = 0; i < pixels.size(); ++i) {
        const uint32_t p = pixels[i];
        maskPixels_[i] = ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) >= 3 * 128;
    }
    Changed();
}

void TButtonGlyph::SetImages(TImageList* images) {
    if (images == images_) return;
    InvalidateImages();
    if (images_) images_->UnRegisterChanges(this);
    images_ = images;
    if (images_)
        images_->RegisterChanges(this, [this] {
            InvalidateImages();
            Changed();
        });
    numGlyphs_ = images_ ? 1 : NumGlyphsForSize(glyphW_, glyphH_);
    Changed();
}

void TButtonGlyph::SetImageIndex(int index) {
    if (index == imageIndex_) return;
    imageIndex_ = index;
    if (!images_) return;
    InvalidateImages();
    Changed();
}

void TButtonGlyph::ListImage(std::vector<uint32_t>& pixels, std::vector<bool>& clear) const {
    const int w = ImageWidth(), h = ImageHeight();
    const size_t n = static_cast<size_t>(w) * h;
    // Drawn on white and on black: a pixel that shows the ground both times is transparent.
    auto drawOn = [&](uint32_t ground, std::vector<uint32_t>& out) {
        std::vector<uint32_t> fill(n, ground);
        uint32_t* bits = nullptr;
        HBITMAP bmp = MakeBitmap(w, h, fill.data(), &bits);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bmp);
        ImageList_Draw(images_->Handle(), imageIndex_, dc, 0, 0, ILD_TRANSPARENT);
        GdiFlush();
        out.assign(bits, bits + n);
        for (uint32_t& p : out) p &= 0xFFFFFF;
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bmp);
    };
    std::vector<uint32_t> onBlack;
    drawOn(0xFFFFFF, pixels);
    drawOn(0, onBlack);
    clear.assign(n, false);
    for (size_t i = 0; i < n; ++i) clear[i] = pixels[i] == 0xFFFFFF && onBlack[i] == 0;
}

void TButtonGlyph::SetNumGlyphs(int n) {
    InvalidateImages();
    numGlyphs_ = images_ ? 1 : ClampNumGlyphs(n);
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
    const uint32_t face = Rgb(clBtnFace), hilite = Rgb(clBtnHighlight), shadow = Rgb(clBtnShadow);
    if (face != madeIn_[0] || hilite != madeIn_[1] || shadow != madeIn_[2]) {
        InvalidateImages();  // the system colours changed: the face and the embossing follow
        madeIn_[0] = face;
        madeIn_[1] = hilite;
        madeIn_[2] = shadow;
    }
    int n = state;
    if (state != bsDisabled && n >= numGlyphs_) n = bsUp;
    if (indexes_[1][n] >= 0) return {lists_[1], indexes_[1][n]};
    if (indexes_[0][n] >= 0) return {lists_[0], indexes_[0][n]};
    if (images_ ? imageIndex_ < 0 || imageIndex_ >= images_->Count() : !HasGlyph()) return {nullptr, -1};
    const int slot = state == bsDisabled ? 0 : 1;
    const int w = ImageWidth(), h = ImageHeight();
    const int tw = slot == 0 ? w + 1 : w, th = slot == 0 ? h + 1 : h;
    if (!lists_[slot]) lists_[slot] = TGlyphCache::Instance().GetList(tw, th);
    const int cell = n < numGlyphs_ ? n : 0;
    // The source cell and where it is transparent: the list's own mask, the
    // mask strip, or the colour of the strip's lower-left pixel.
    std::vector<uint32_t> src;
    std::vector<bool> srcClear;
    const bool hasMask = images_ || HasMask();
    if (images_) {
        ListImage(src, srcClear);
    } else {
        const uint32_t transparent = Pixel(0, h - 1);
        src.resize(static_cast<size_t>(w) * h);
        srcClear.resize(src.size());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const size_t i = static_cast<size_t>(y) * w + x;
                src[i] = Pixel(cell * w + x, y);
                srcClear[i] = HasMask() ? MaskClear(cell * w + x, y) : src[i] == transparent;
            }
        // An enabled cell without a mask is cut out by its own lower-left colour.
        if (state != bsDisabled && !HasMask())
            for (size_t i = 0; i < src.size(); ++i) srcClear[i] = src[i] == src[static_cast<size_t>(h - 1) * w];
    }
    std::vector<uint32_t> img(static_cast<size_t>(tw) * th, face);
    std::vector<bool> clear(static_cast<size_t>(tw) * th, true);
    auto at = [&](int x, int y) { return static_cast<size_t>(y) * tw + x; };
    auto from = [&](int x, int y) { return static_cast<size_t>(y) * w + x; };
    if (state != bsDisabled || numGlyphs_ >= 2) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const uint32_t p = src[from(x, y)];
                // The strip's own disabled cell is recoloured in the system colours.
                img[at(x, y)] = state != bsDisabled ? p : p == 0xFFFFFF ? hilite : p == 0x808080 ? shadow : p;
                clear[at(x, y)] = srcClear[from(x, y)];
            }
    } else {
        // Embossed: the glyph's marked pixels in highlight one pixel down-right, then in shadow.
        auto marked = [&](int x, int y) {
            const uint32_t p = src[from(x, y)];
            if (oldDisabled_) return p == 0 && !(hasMask && srcClear[from(x, y)]);
            return !(p == 0xFFFFFF || p == 0xC0C0C0 || srcClear[from(x, y)]);
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
