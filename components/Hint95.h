// The application's tooltip style: THint95 on the main form makes
// THintWindow95 the class tooltips show in and picks their font and frame;
// THintWindow95 shows each tip just below the cursor.
#pragma once

#include <memory>

#include "components/core/HintPlacement.h"
#include "runtime/HiddenWindow.h"
#include "ui/HintWindow.h"

class THint95 : public TComponent {
public:
    explicit THint95(TComponent* owner);
    ~THint95() override;
    THintStyle HintStyle() const { return style_; }
    void SetHintStyle(THintStyle s);
    const TFont& HintFont() const { return font_; }
    // Reloads the font from the system's status font (on WM_SETTINGCHANGE too).
    void LoadFont();
    TFont& HintFontForTest() { return font_; }
    // The hidden window that hears of system setting changes.
    HWND UtilityWindow() const { return window_ ? window_->Handle() : nullptr; }

private:
    THintStyle style_ = hsWindows95;
    TFont font_;
    std::unique_ptr<THiddenWindow> window_;
};

class THintWindow95 : public THintWindow {
public:
    THintWindow95() = default;
    // Places the tip below the cursor (the proposed rectangle is not used) and shows it.
    void ActivateHint(const RECT& proposed, const std::string& hint) override;
    // The style in force for the current tip: the first THint95 of the
    // application's main form gives it; without one, the Windows 95 look in
    // the system's status font (THint95's own defaults).
    THintStyle Style() const { return style_; }
    void Paint(TCanvas& canvas) override;

protected:
    void CreateParams(TCreateParams& p) override;

private:
    THintStyle style_ = hsWindows95;
    int textH_ = 0;
    // What the tip was shown over, then drawn on: every paint until the next tip.
    std::unique_ptr<TBitmap> image_;
};
