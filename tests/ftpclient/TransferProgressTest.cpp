#include <gtest/gtest.h>

#include <string>

#include "ftpclient/core/TransferProgress.h"

namespace {
const double Second = 1.0 / 86400;
const double T0 = 46000.25;  // a date-time with a time of day
}  // namespace

TEST(TransferProgress, FiguresAlongADownload) {
    TTransferProgress p;
    const struct {
        const char* name;
        int64_t total;
        int64_t done;
        double at;  // seconds after T0
        std::string received, progress, elapsed;
        int bar;
        bool rateShown;
        std::string rate, est, remain;
    } steps[] = {
        {"start", 102400, 0, 0, "0 bytes", "0%", "00:00:00", 0, true, "0 bytes/sec", "00:00:00", "00:00:00"},
        {"two seconds in", -1, 40960, 2, "40 KB", "40%", "00:00:02", 40, true, "20 KB/sec", "00:00:05", "00:00:03"},
        {"half a second later", -1, 51200, 2.5, "50 KB", "50%", "00:00:02", 50, false, "", "", ""},
        {"a second after the last rate", -1, 81920, 3, "80 KB", "80%", "00:00:03", 80, true, "26.67 KB/sec",
         "00:00:03", "00:00:00"},
        {"past the total", -1, 204800, 4, "200 KB", "100%", "00:00:04", 100, true, "50 KB/sec", "00:00:04",
         "00:00:00"},
    };
    for (auto& s : steps) {
        TProgressView v = p.Update("C:\\down\\file.bin", s.total, s.done, T0 + s.at * Second);
        EXPECT_EQ(v.FileName, "file.bin") << s.name;
        EXPECT_EQ(v.TotalSize, "100 KB") << s.name;
        EXPECT_EQ(v.Received, s.received) << s.name;
        EXPECT_EQ(v.Progress, s.progress) << s.name;
        EXPECT_EQ(v.Elapsed, s.elapsed) << s.name;
        EXPECT_EQ(v.Bar, s.bar) << s.name;
        EXPECT_EQ(v.RateShown, s.rateShown) << s.name;
        EXPECT_EQ(v.TransferRate, s.rate) << s.name;
        EXPECT_EQ(v.EstTime, s.est) << s.name;
        EXPECT_EQ(v.RemainTime, s.remain) << s.name;
    }
}

TEST(TransferProgress, UnknownTotalAndHugeFiles) {
    TTransferProgress p;
    TProgressView v = p.Update("/pub/a", 0, 0, T0);
    EXPECT_EQ(v.Progress, "0%");
    v = p.Update("/pub/a", -1, 5000, T0 + 3 * Second);
    EXPECT_EQ(v.Progress, "0%");
    EXPECT_EQ(v.FileName, "a");

    TTransferProgress big;
    big.Update("big.iso", 5368709243LL, 0, T0);
    v = big.Update("big.iso", -1, 4294967296LL, T0 + 100 * Second);
    EXPECT_EQ(v.Bar, 80);
    EXPECT_EQ(v.TotalSize, "5 GB");
    EXPECT_EQ(v.Received, "4 GB");
    EXPECT_EQ(v.TransferRate, "40.96 MB/sec");
    EXPECT_EQ(v.RemainTime, "00:00:25");
}
