// The clock seam on Windows: tick count since the program started.
#pragma once

#include "platform/clock.h"

namespace vz {

class Win32Clock : public Clock {
  public:
    Win32Clock();
    uint32_t NowMs() override;
    void YieldTimeSlice() override;
    void SleepMs(uint32_t ms) override;

  private:
    uint32_t start_;
};

}  // namespace vz
