// A number box with up and down buttons beside it: an edit that takes only
// digits, and the platform's up-down control as its buddy.
#pragma once

#include "ui/ComCtrls.h"
#include "ui/StdCtrls.h"

// The up-down of a spin edit: once made beside its buddy, both keep the
// places it gave them.
class TSpinButtons : public TUpDown {
public:
    using TUpDown::TUpDown;

protected:
    void WndCreated() override;
};

class TSpinEdit : public TEdit {
public:
    explicit TSpinEdit(TWinControl* parent);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    void SetRange(int minValue, int maxValue);
    // The typed number held to the bounds; an empty box gives MinValue.
    int Value() const;
    void SetValue(int v);
    // The edit and its buttons side by side, the buttons inside the given width.
    void Place(int x, int y, int width, int height);
    TSpinButtons* Buttons() const { return buttons_; }
    bool Command(WORD code) override;
    void FocusChanged(bool gained) override;

protected:
    void CreateParams(TCreateParams& p) override;

private:
    TSpinButtons* buttons_;
    int min_ = 0, max_ = 100;
    bool filtering_ = false;
};

// The number a text stands for, held to [minValue, maxValue]; a text without
// digits gives minValue. Only the digits count, so "1a2" is 12.
int SpinValueOf(const std::string& text, int minValue, int maxValue);
