// A combo box that completes what is typed from its own items and selects the
// completed part, so that further typing replaces it.
#pragma once

#include <functional>

#include "ui/StdCtrls.h"

using TOnComplete = std::function<void(TObject* Sender, WORD Key, std::string& CompleteWith, bool& DoComplete)>;

class TComboBox98 : public TComboBox {
public:
    explicit TComboBox98(TWinControl* parent) : TComboBox(parent) {}
    bool Complete = true;
    unsigned MinLengthComplete = 0;
    TOnComplete OnComplete;
    bool KeyDown(WORD& key, TShiftState shift) override;
    bool Command(WORD code) override;

private:
    void Change();
    WORD lastKey_ = 0;
};
