// News from the channels of this process (a task ended) for the crawl
// thread, which waits for it instead of polling the channels at a fixed
// pace. No platform headers.
#pragma once

#include <cstdint>

class ChannelSignal {
public:
    static uint64_t Generation();  // rises with every Notify
    static void Notify();
    // Returns once the generation differs from seen, or after ms.
    static void WaitAfter(uint64_t seen, long ms);
};
