#include "masks/BasicForm.h"

int ScreenDpi() {
    static const int dpi = [] {
        HDC dc = GetDC(nullptr);
        const int d = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
        if (dc) ReleaseDC(nullptr, dc);
        return d > 0 ? d : 96;
    }();
    return dpi;
}

void SetBoundsTwips(TWinControl& c, int left, int top, int width, int height) {
    c.SetBounds(Twips(left), Twips(top), Twips(width), Twips(height));
}

void SetLeftTwips(TWinControl& c, int left) { c.SetBounds(Twips(left), c.Top(), c.Width(), c.Height()); }

void TBasicTextBox::SetText(const std::string& s) {
    // The edit's own EN_CHANGE comes only when the window exists: it is
    // held back here and raised once below.
    settingText_ = true;
    TEdit::SetText(s);
    settingText_ = false;
    if (OnChange) OnChange(this);
}

bool TBasicTextBox::Command(WORD code) {
    if (code == EN_CHANGE && settingText_) return false;
    return TEdit::Command(code);
}

void SetClientSizeTwips(TWinControl& form, int width, int height) {
    // Measured rather than computed: the frame is whatever the window has.
    const int dx = Twips(width) - form.ClientWidth(), dy = Twips(height) - form.ClientHeight();
    form.SetBounds(form.Left(), form.Top(), form.Width() + dx, form.Height() + dy);
}

TButton* MakeButton(TWinControl* parent, const char* name, const std::string& caption, int left, int top, int width,
                    int height) {
    auto* b = new TButton(parent);
    b->SetName(name);
    b->SetCaption(caption);
    SetBoundsTwips(*b, left, top, width, height);
    return b;
}
