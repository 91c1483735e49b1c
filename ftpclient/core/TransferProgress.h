// The figures of the progress window: sizes, percent, elapsed and remaining
// time and the rate, from the byte counts the engine reports. Times are
// date-times in days, given by the caller. No platform headers.
#pragma once

#include <cstdint>
#include <string>

#include "ftpclient/core/ClientUtils.h"

struct TProgressView {
    std::string FileName;   // lblFilename: the name without its path
    std::string TotalSize;  // lblTotalSize
    std::string Received;   // lblReceived
    std::string Progress;   // lblProgress: "42%"
    std::string Elapsed;    // lblElapsedTime: "HH:NN:SS"
    int Bar = 0;            // pbDownload, 0 to 100
    // The rate texts change at most once a second.
    bool RateShown = false;
    std::string TransferRate;  // lblTransferRate: "1.5 KB/sec"
    std::string EstTime;       // lblEstTime: the expected whole duration
    std::string RemainTime;    // lblRemainTime
};

class TTransferProgress {
public:
    explicit TTransferProgress(TNumberFormat Format = TNumberFormat()) : format_(Format) {}

    // Total -1 keeps the stored total; Done 0 starts the clock.
    TProgressView Update(const std::string& Name, int64_t Total, int64_t Done, double Now);
    int64_t Total() const { return total_; }

private:
    TNumberFormat format_;
    double start_ = 0;
    double lastRate_ = 0;
    int64_t total_ = 0;
};
