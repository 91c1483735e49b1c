#include "TransferBar.h"

TTransferBar::TTransferBar(TWinControl* parent) : TProgressBar(parent) { SetRange(0, Steps); }

void TTransferBar::SetMax(int64_t m) {
    max_ = m > 0 ? m : 1;
    SetPosition(int64_t{0});
}

void TTransferBar::SetPosition(int64_t p) {
    if (p < 0) p = 0;
    if (p > max_) p = max_;
    // Done / total in the bar's steps, without overflow for any 64-bit size.
    const int step = max_ > (INT64_MAX / Steps) ? static_cast<int>(p / (max_ / Steps)) : static_cast<int>(p * Steps / max_);
    TProgressBar::SetPosition(step);
}
