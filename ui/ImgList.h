// A list of equal-sized images over the platform's image list, drawn with
// their mask (transparent where the mask colour was) or greyed for a
// disabled command.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <utility>
#include <vector>

#include "Graphics.h"
#include "runtime/core/Component.h"

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner = nullptr, int width = 16, int height = 16);
    ~TImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A new size empties the list.
    void SetSize(int width, int height);
    void SetWidth(int w) { SetSize(w, height_); }
    void SetHeight(int h) { SetSize(width_, h); }

    HIMAGELIST Handle() const;
    int Count() const;

    // Adds the image (its top-left Width x Height pixels); mask: white where
    // transparent, or null for none. Returns the index.
    int Add(TBitmap& image, TBitmap* mask = nullptr);
    // Adds the image with every pixel of maskColor transparent.
    int AddMasked(TBitmap& image, TColor maskColor);
    // Adds an icon (scaled to the list's size); -1 when it could not be added.
    int AddIcon(HICON icon);
    void Delete(int index);
    void Clear();

    // Draws image index with its top-left at (x, y); a disabled image is drawn
    // embossed in the button shadow and highlight colours. Nothing for an
    // index out of range.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    // The image drawn over the bitmap, which takes the list's size.
    void GetBitmap(int index, TBitmap& bitmap) const;
    // The image as a new icon (the caller destroys it); null when out of range.
    HICON GetIcon(int index) const;

    // Raised after the images changed (added, deleted, cleared, resized).
    TNotifyEvent OnChange;
    // Further listeners told of the same changes (buttons drawing from a shared
    // list), each under its own key.
    void RegisterChanges(const void* key, std::function<void()> changed);
    void UnRegisterChanges(const void* key);

private:
    void Changed();
    void DrawDisabled(HDC dc, int x, int y, int index) const;
    int width_, height_;
    mutable HIMAGELIST handle_ = nullptr;
    std::vector<std::pair<const void*, std::function<void()>>> links_;
};
