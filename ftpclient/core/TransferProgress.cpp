#include "ftpclient/core/TransferProgress.h"

#include <cmath>

#include "runtime/core/SysUtils.h"

namespace {

const double OneSecond = 1.0 / 86400;

std::string BaseName(const std::string& path) {
    size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

TProgressView TTransferProgress::Update(const std::string& Name, int64_t Total, int64_t Done, double Now) {
    if (Total != -1) total_ = Total;
    if (Done == 0) start_ = Now;
    // A tenth of a second into the past, so that no rate divides by zero.
    if (Now == start_) start_ = Now - OneSecond / 10;
    int elapsed = TimeToSeconds(Now - start_);
    int64_t rate = elapsed > 0 ? static_cast<int64_t>(std::llround(static_cast<double>(Done) / elapsed)) : 0;
    double remaining = rate > 0 && total_ > Done ? static_cast<double>(total_ - Done) / static_cast<double>(rate) * OneSecond : 0;
    double percent = total_ > 0 ? static_cast<double>(Done) / static_cast<double>(total_) * 100 : 0;
    if (percent > 100) percent = 100;
    if (percent < 0) percent = 0;

    TProgressView v;
    v.FileName = BaseName(Name);
    v.TotalSize = FormatFileSize(total_, format_);
    v.Received = FormatFileSize(Done, format_);
    v.Bar = static_cast<int>(std::llround(percent));
    v.Progress = IntToStr(v.Bar) + "%";
    v.Elapsed = FormatTimeOfDay(Now - start_);
    if (Now - lastRate_ >= OneSecond) {
        v.RateShown = true;
        v.TransferRate = FormatFileSize(rate, format_) + "/sec";
        v.EstTime = FormatTimeOfDay(Now + remaining - start_);
        v.RemainTime = FormatTimeOfDay(remaining);
        if (total_ > 0 && Done > 0) lastRate_ = Now;
    }
    return v;
}
