// The application's tooltip style: THint95 on the main form picks font and
// frame; THintWindow95 shows each tip just below the cursor.
#pragma once

#include <memory>

#include "components/core/HintPlacement.h"
#include "runtime/HiddenWindow.h"
#include "ui/Control.h"

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

// The form whose components are searched for the style (the application's main form).
void SetHintMainForm(TComponent* form);

class THintWindow95 : public TWinControl {
public:
    THintWindow95();
    // Places the tip below the cursor (the proposed rectangle is not used) and shows it.
    void ActivateHint(const RECT& proposed, const std::string& hint);
    // The style and font in force for the current tip: without a THint95 on the
    // main form, the Windows 95 look with the system's status font.
    THintStyle Style() const { return style_; }
    bool PaintsItself() const override { return true; }
    void Paint(TCanvas& canvas) override;
    // The cursor's height below its hot spot, read from its mask.
    static int CursorHeight(HCURSOR cursor);

protected:
    void CreateParams(TCreateParams& p) override;

private:
    THintStyle style_ = hsWindows95;
    int textH_ = 0;
};
