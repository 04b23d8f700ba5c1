// A clock of real milliseconds since it was made, for the programs that run off Windows.
#pragma once

#include <chrono>
#include <thread>

#include "platform/clock.h"

namespace vz {

class SteadyClock : public Clock {
  public:
    uint32_t NowMs() override {
        return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start_)
                            .count());
    }
    void YieldTimeSlice() override { std::this_thread::yield(); }
    void SleepMs(uint32_t ms) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace vz
