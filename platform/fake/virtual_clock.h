// A clock for tests: time stands still until the code yields or sleeps, so long waits run at once.
#pragma once

#include "platform/clock.h"

namespace vz {

class VirtualClock : public Clock {
  public:
    explicit VirtualClock(uint32_t msPerYield = 1) : msPerYield_(msPerYield) {}

    uint32_t NowMs() override { return now_; }
    void YieldTimeSlice() override {
        now_ += msPerYield_;
        ++yields_;
    }
    void SleepMs(uint32_t ms) override { now_ += ms; }

    void Advance(uint32_t ms) { now_ += ms; }
    uint64_t Yields() const { return yields_; }

  private:
    uint32_t now_ = 0;
    uint32_t msPerYield_;
    uint64_t yields_ = 0;
};

}  // namespace vz
