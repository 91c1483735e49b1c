// Millisecond tick counts wrap after 49.7 days; compare them by difference.
#pragma once

#include <cstdint>

// True once Now has reached Deadline, also across a wrap of the counter
// (deadlines up to 24 days ahead).
inline bool TickReached(uint32_t Now, uint32_t Deadline) {
    return static_cast<int32_t>(Now - Deadline) >= 0;
}
