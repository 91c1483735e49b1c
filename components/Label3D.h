// A label whose caption is printed raised or recessed: up to two copies in
// highlight and shadow, one pixel off, under the caption itself.
#pragma once

#include "ui/StdCtrls.h"

enum TCaptionStyle { csNone, csRaised, csHeavyRaised, csRecessed, csHeavyRecessed };

class TLabel3D : public TLabel {
public:
    explicit TLabel3D(TWinControl* parent);
    TCaptionStyle CaptionStyle() const { return style_; }
    void SetCaptionStyle(TCaptionStyle s);
    bool ShowAccelChar = true;
    void Paint(TCanvas& canvas) override;

private:
    TCaptionStyle style_ = csRecessed;
};
