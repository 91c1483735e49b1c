// The platform's progress bar over 64-bit byte counts: the counts are scaled
// into the bar's range, so files above 2 GiB still fill it.
#pragma once

#include <cstdint>

#include "ui/ComCtrls.h"

class TTransferBar : public TProgressBar {
public:
    explicit TTransferBar(TWinControl* parent);
    // A new total starts the bar at 0; a total of 0 or less counts as 1.
    void SetMax(int64_t m);
    // Kept within 0 and the total.
    void SetPosition(int64_t p);
    int64_t Total() const { return max_; }

private:
    static constexpr int Steps = 0x7FFF;
    int64_t max_ = 100;
};
