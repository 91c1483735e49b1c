// What the find and replace benchmarks share: the text size, the number of
// matches, and the clock.
#pragma once

#include <chrono>
#include <cstdint>

namespace findbench {

using Clock = std::chrono::steady_clock;

const int kTextBytes = 10 * 1000 * 1000;
const int kMatches = 100000;
const int kRounds = 5;  // searches timed: the best counts

inline double Seconds(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}
inline double MBps(int64_t bytes, double seconds) { return seconds > 0 ? bytes / 1e6 / seconds : 0; }

}  // namespace findbench
