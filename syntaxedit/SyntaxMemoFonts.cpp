#include "SyntaxMemoFonts.h"

#include "SM_Settings.h"

TMemoFonts::TMemoFonts(TSyntaxMemoCore& core, HDC compatibleWith)
    : core_(core), dc_(CreateCompatibleDC(compatibleWith)) {
    HDC screen = GetDC(nullptr);
    height_ = -MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
}

TMemoFonts::~TMemoFonts() {
    Clear();
    DeleteDC(dc_);
}

void TMemoFonts::Clear() {
    if (oldFont_) SelectObject(dc_, oldFont_);
    oldFont_ = nullptr;
    selected_ = nullptr;
    for (HFONT& f : variants_) {
        if (f) DeleteObject(f);
        f = nullptr;
    }
}

void TMemoFonts::SetFont(const std::string& face, int height) {
    if (face == face_ && height == height_) return;
    Clear();
    face_ = face;
    height_ = height;
}

HFONT TMemoFonts::Variant(unsigned fontStyle) {
    fontStyle &= 15;
    HFONT& f = variants_[fontStyle];
    if (f) return f;
    // The fixed-pitch default keeps its pitch request, so a missing face is
    // replaced by another fixed-pitch one.
    DWORD pitch = face_ == "Courier New" ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_DONTCARE;
    f = CreateFontA(height_, 0, 0, 0, (fontStyle & 1) ? FW_BOLD : FW_NORMAL, (fontStyle & 2) != 0,
                    (fontStyle & 4) != 0, (fontStyle & 8) != 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, pitch, face_.c_str());
    HGDIOBJ old = SelectObject(dc_, f);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    overhang_[fontStyle] = tm.tmOverhang;
    SelectObject(dc_, old);
    return f;
}

HFONT TMemoFonts::ForStyle(uint8_t style) { return Variant(core_.Settings().Styles[style].FontStyle); }

int32_t TMemoFonts::RunWidth(uint8_t style, const char* text, int32_t count, int32_t* ends) {
    if (count <= 0) return 0;
    unsigned fs = core_.Settings().Styles[style].FontStyle & 15u;
    HFONT f = Variant(fs);
    if (f != selected_) {
        HGDIOBJ old = SelectObject(dc_, f);
        if (!oldFont_) oldFont_ = old;
        selected_ = f;
    }
    SIZE size{};
    GetTextExtentExPointA(dc_, text, count, 0, nullptr, reinterpret_cast<INT*>(ends), &size);
    return size.cx + overhang_[fs];
}
