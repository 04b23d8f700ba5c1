// The spectrum sweep: the radio parked on each hopping frequency of the card's plan in turn,
// its signal sampled for a dwell set by the sampling rate.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engines/frequency_plan.h"
#include "program/program_context.h"

namespace vz {

// What one frequency's last dwell read; its largest sample tops the bar.
struct FrequencyPoint {
    int32_t maximum = 0;
    int32_t sum = 0;
    int32_t peak = 0;   // the peak hold, kept beside maximum
    int32_t count = 0;  // samples that succeeded; 0 draws no bars
    int32_t index = 0;  // frequency index of the dwell, 0 before the first
};

// Every sample of one frequency since the sweep was last cleared.
struct FrequencyHold {
    int64_t sum = 0;
    int64_t count = 0;
    int peak = 0;
    int minimum = 0;  // meaningful once count is above 0
};

class SpectrumSweep {
  public:
    enum Rate { kSlow = 0, kMedium = 1, kFast = 2 };

    explicit SpectrumSweep(ProgramContext& context) : context_(context) {}

    // Reads the card's country code and lays out its plan, every record cleared.
    void Begin();
    // Clears every record and hold; the next dwells start them afresh.
    void Clear();
    // Reopens the channel when it was lost, as the other tools do: a new channel and a restarted
    // driver. Returns: true when the channel can be used.
    bool Ready();
    // Samples the frequency at `position` (0..points-1) for `rate`'s dwell; `interrupted` is asked
    // before every sample. Returns: false when it cut the dwell short.
    bool Dwell(int position, Rate rate, const std::function<bool()>& interrupted);

    const FrequencyPlan& Plan() const { return plan_; }
    const std::vector<FrequencyPoint>& Records() const { return records_; }
    const std::vector<FrequencyHold>& Holds() const { return holds_; }

  private:
    ProgramContext& context_;
    FrequencyPlan plan_;
    std::vector<FrequencyPoint> records_;
    std::vector<FrequencyHold> holds_;
    bool driverLost_ = false;
};

}  // namespace vz
