// The pace of a run: the windows' 100 ms ticks, on the program's clock.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace vz {

inline constexpr uint32_t kRunTickMs = 100;

// Sleeps until `kRunTickMs` after `tickStart`, or not at all when the tick took longer.
inline void AwaitNextTick(Clock& clock, uint32_t tickStart) {
    const uint32_t spent = clock.NowMs() - tickStart;
    if (spent < kRunTickMs) {
        clock.SleepMs(kRunTickMs - spent);
    }
}

}  // namespace vz
