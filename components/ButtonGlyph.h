// A toolbar button's images: the glyph strip, one ready image per paint state
// made on first need, kept in image lists shared by every glyph of that size.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <vector>

#include "components/core/ButtonLayout.h"
#include "ui/Graphics.h"
#include "ui/ImgList.h"

enum TButtonPaintState { bsUp, bsDisabled, bsDown, bsExclusive, bsHot };

// An image list whose released slots are reused before it grows.
class TGlyphList {
public:
    TGlyphList(int width, int height);
    ~TGlyphList();
    HIMAGELIST Handle() const { return list_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return count_; }
    int AllocateIndex();
    // Image and mask are 32-bit DIB pixels (0x00RRGGBB) of the list's size; mask true = transparent.
    int AddWithMask(const std::vector<uint32_t>& pixels, const std::vector<bool>& transparent);
    void ReleaseIndex(int index);

private:
    HIMAGELIST list_;
    int width_, height_;
    std::vector<bool> used_;
    int count_ = 0;
};

// The shared lists, one per size.
class TGlyphCache {
public:
    static TGlyphCache& Instance();
    TGlyphList* GetList(int width, int height);
    void ReturnList(TGlyphList* list);
    bool IsEmpty() const { return lists_.empty(); }
    int ListCount() const { return static_cast<int>(lists_.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> lists_;
};

class TButtonGlyph {
public:
    TButtonGlyph() = default;
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    // Copies the strip (any bitmap); NumGlyphs follows from its size.
    void SetGlyph(HBITMAP bmp);
    bool HasGlyph() const { return glyphW_ > 0 && glyphH_ > 0; }
    // A monochrome strip laid out like the glyph: white = transparent.
    void SetGlyphMask(HBITMAP bmp);
    bool HasMask() const { return maskW_ > 0 && maskH_ > 0; }
    // An image of a list instead of the strip (not owned; null for none).
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int n);
    bool OldDisabledStyle() const { return oldDisabled_; }
    void SetOldDisabledStyle(bool v);
    int ImageWidth() const { return images_ ? images_->Width() : HasGlyph() ? glyphW_ / numGlyphs_ : 0; }
    int ImageHeight() const { return images_ ? images_->Height() : glyphH_; }
    std::function<void()> OnChange;

    // The list and index of the state's image, made on first need; index -1 =
    // none. Images made in other system colours than today's are made again.
    std::pair<TGlyphList*, int> CreateStateImage(TButtonPaintState state);
    void InvalidateImages();

    void Draw(TCanvas& canvas, const TLayoutInput& layout, TButtonPaintState state, UINT alignmentFlag);
    static void DrawArrow(TCanvas& canvas, int x, int y, TButtonPaintState state);

private:
    uint32_t Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * glyphW_ + x]; }
    // The mask cell's pixel: true where transparent (outside the mask's size too).
    bool MaskClear(int x, int y) const {
        return x >= maskW_ || y >= maskH_ || maskPixels_[static_cast<size_t>(y) * maskW_ + x] != 0;
    }
    // The list image's pixels on the button face and where it is transparent.
    void ListImage(std::vector<uint32_t>& pixels, std::vector<bool>& clear) const;
    void Changed();
    std::vector<uint32_t> pixels_;  // 0x00RRGGBB, top-down
    int glyphW_ = 0, glyphH_ = 0;
    std::vector<uint8_t> maskPixels_;  // 1 = white (transparent)
    int maskW_ = 0, maskH_ = 0;
    TImageList* images_ = nullptr;
    int imageIndex_ = -1;
    int numGlyphs_ = 1;
    bool oldDisabled_ = false;
    // Face, highlight and shadow as the cached images were made in.
    uint32_t madeIn_[3] = {0, 0, 0};
    TGlyphList* lists_[2] = {nullptr, nullptr};  // slot 0: disabled images (one pixel larger)
    int indexes_[2][5] = {{-1, -1, -1, -1, -1}, {-1, -1, -1, -1, -1}};
};
