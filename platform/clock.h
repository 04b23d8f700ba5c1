// Clock seam: milliseconds since program start, yielding the time slice, and sleeping.
#pragma once

#include <cstdint>

namespace vz {

class Clock {
  public:
    virtual ~Clock() = default;

    virtual uint32_t NowMs() = 0;
    virtual void YieldTimeSlice() = 0;  // Sleep(0)
    virtual void SleepMs(uint32_t ms) = 0;
};

}  // namespace vz
