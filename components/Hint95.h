// The application's tooltip style: THint95 on the main form picks font and
// frame; THintWindow95 shows each tip just below the cursor.
#pragma once

#include <functional>
#include <memory>

#include "components/core/HintPlacement.h"
#include "runtime/HiddenWindow.h"
#include "ui/Control.h"

class THintWindow95;

// The application's tooltips: the window class that shows them and the delays
// (ms before a first tip, before it hides, from one tip to the next).
class TApplicationHints {
public:
    using THintWindowClass = std::function<std::unique_ptr<THintWindow95>()>;
    static TApplicationHints& Instance();
    int HintPause = 500, HintHidePause = 2500, HintShortPause = 50;
    void SetHintWindowClass(THintWindowClass make) { windowClass_ = std::move(make); }
    bool ShowHint() const { return showHint_; }
    // Switched on, a hint window of the class in force is made (none without
    // a class: the window layer shows no tips of its own); off, it goes.
    void SetShowHint(bool show);
    // The window that shows the tips; null while ShowHint is off.
    THintWindow95* HintWindow() const { return window_.get(); }

private:
    THintWindowClass windowClass_;
    bool showHint_ = true;
    std::unique_ptr<THintWindow95> window_;
};

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
