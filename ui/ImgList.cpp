#include "ImgList.h"

#include <algorithm>

#include "runtime/core/SysUtils.h"

namespace {

// The platform copies from a bitmap it can select into its own DC; ours stay
// selected into their canvas, so the list gets a copy.
HBITMAP CopyOf(TBitmap& image, int width, int height) {
    HDC screen = GetDC(nullptr);
    HBITMAP copy = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, copy);
    RECT r{0, 0, width, height};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    BitBlt(dc, 0, 0, std::min(width, image.Width()), std::min(height, image.Height()), image.Canvas().Handle(), 0, 0,
           SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return copy;
}

HBITMAP MonoMaskOf(TBitmap& mask, int width, int height) {
    HBITMAP mono = CreateBitmap(width, height, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mono);
    PatBlt(dc, 0, 0, width, height, WHITENESS);
    SetBkColor(mask.Canvas().Handle(), RGB(255, 255, 255));
    BitBlt(dc, 0, 0, std::min(width, mask.Width()), std::min(height, mask.Height()), mask.Canvas().Handle(), 0, 0,
           SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    return mono;
}

}  // namespace

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), width_(std::max(1, width)), height_(std::max(1, height)) {}

TImageList::~TImageList() {
    if (handle_) ImageList_Destroy(handle_);
}

HIMAGELIST TImageList::Handle() const {
    if (!handle_) {
        handle_ = ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4);
        if (!handle_) throw Exception("Cannot create image list");
        ImageList_SetBkColor(handle_, CLR_NONE);
    }
    return handle_;
}

void TImageList::SetSize(int width, int height) {
    width = std::max(1, width);
    height = std::max(1, height);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    if (handle_) {
        ImageList_Destroy(handle_);
        handle_ = nullptr;
    }
    Changed();
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

void TImageList::Changed() {
    if (Destroying()) return;
    if (OnChange) OnChange(this);
    const auto links = links_;  // a listener may unregister itself
    for (const auto& l : links) l.second();
}

void TImageList::RegisterChanges(const void* key, std::function<void()> changed) {
    UnRegisterChanges(key);
    links_.emplace_back(key, std::move(changed));
}

void TImageList::UnRegisterChanges(const void* key) {
    for (auto it = links_.begin(); it != links_.end(); ++it)
        if (it->first == key) {
            links_.erase(it);
            return;
        }
}

int TImageList::Add(TBitmap& image, TBitmap* mask) {
    HBITMAP copy = CopyOf(image, width_, height_);
    HBITMAP mono = mask ? MonoMaskOf(*mask, width_, height_) : nullptr;
    const int index = ImageList_Add(Handle(), copy, mono);
    DeleteObject(copy);
    if (mono) DeleteObject(mono);
    if (index < 0) throw Exception("Cannot add the image to the image list");
    Changed();
    return index;
}

int TImageList::AddMasked(TBitmap& image, TColor maskColor) {
    HBITMAP copy = CopyOf(image, width_, height_);
    const int index = ImageList_AddMasked(Handle(), copy, ColorToRGB(maskColor));
    DeleteObject(copy);
    if (index < 0) throw Exception("Cannot add the image to the image list");
    Changed();
    return index;
}

int TImageList::AddIcon(HICON icon) {
    if (!icon) return -1;
    const int index = ImageList_AddIcon(Handle(), icon);
    if (index >= 0) Changed();
    return index;
}

void TImageList::Delete(int index) {
    if (index < 0 || index >= Count()) throw Exception(Format("Image index out of range (%d)", index));
    ImageList_Remove(handle_, index);
    Changed();
}

void TImageList::Clear() {
    if (handle_) ImageList_Remove(handle_, -1);
    Changed();
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count() || !canvas.Handle()) return;
    if (enabled) ImageList_Draw(handle_, index, canvas.Handle(), x, y, ILD_TRANSPARENT);
    else DrawDisabled(canvas.Handle(), x, y, index);
}

void TImageList::DrawDisabled(HDC target, int x, int y, int index) const {
    // The mask, white where the image is: the highlight one pixel down and
    // right, then the shadow in place (raster operation DSPDxax: the brush
    // where the source is white, the destination elsewhere).
    HBITMAP mono = CreateBitmap(width_, height_, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mono);
    PatBlt(dc, 0, 0, width_, height_, WHITENESS);
    ImageList_Draw(handle_, index, dc, 0, 0, ILD_MASK);
    const COLORREF oldText = SetTextColor(target, RGB(255, 255, 255));
    const COLORREF oldBk = SetBkColor(target, RGB(0, 0, 0));
    const DWORD kDSPDxax = 0x00E20746;
    for (int pass = 0; pass < 2; ++pass) {
        HBRUSH brush = CreateSolidBrush(GetSysColor(pass == 0 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW));
        HGDIOBJ oldBrush = SelectObject(target, brush);
        const int d = pass == 0 ? 1 : 0;
        BitBlt(target, x + d, y + d, width_, height_, dc, 0, 0, kDSPDxax);
        SelectObject(target, oldBrush);
        DeleteObject(brush);
    }
    SetTextColor(target, oldText);
    SetBkColor(target, oldBk);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(mono);
}

void TImageList::GetBitmap(int index, TBitmap& bitmap) const {
    bitmap.SetSize(width_, height_);
    Draw(bitmap.Canvas(), 0, 0, index);
}

HICON TImageList::GetIcon(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return ImageList_GetIcon(handle_, index, ILD_NORMAL);
}
