// The platform's up-down control as the wizard uses it: only its two arrows'
// clicks count. Its own position never moves, so it never stops at an end.
#pragma once

#include <functional>

#include "ui/Control.h"

class TUpDownButtons : public TWinControl {
public:
    enum TUDBtnType { btNext, btPrev };  // up, down
    explicit TUpDownButtons(TWinControl* parent);
    void SetRange(int low, int high);
    std::function<void(TObject* Sender, TUDBtnType Button)> OnClick;
    bool Notify(NMHDR* header, LRESULT& result) override;

protected:
    void CreateParams(TCreateParams& p) override;
    void WndCreated() override;

private:
    int low_ = 0, high_ = 100;
};
