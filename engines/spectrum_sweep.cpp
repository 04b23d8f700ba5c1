// The spectrum sweep: the plan, the dwell on one frequency and the holds over every dwell.
#include "engines/spectrum_sweep.h"

#include <algorithm>

#include "driver/card_control.h"
#include "driver/rssi_map.h"

namespace vz {

namespace {

constexpr int kMaxPercent = 100;

struct DwellLimit {
    uint32_t ms;
    int samples;
};

// By sampling rate: Slow, Medium, Fast.
constexpr DwellLimit kDwellLimits[] = {{10000, 300}, {5000, 30}, {1000, 3}};

}  // namespace

void SpectrumSweep::Begin() {
    // The driver fills only the code byte; the second byte stays as zeroed here.
    uint8_t country[2] = {0, 0};
    DriverCommand(context_.driver, kCmdGetCountryCode, 0, 0, country, sizeof country);
    plan_ = PlanForCountry(country[0], country[1]);
    Clear();
}

void SpectrumSweep::Clear() {
    records_.assign(plan_.points, FrequencyPoint{});
    holds_.assign(plan_.points, FrequencyHold{});
}

bool SpectrumSweep::Ready() {
    Driver& driver = context_.driver;
    if (driverLost_ &&
        (OpenDriver(driver) != Status::kOk || RestartDriver(driver) != Status::kOk)) {
        return false;
    }
    driverLost_ = false;
    return true;
}

bool SpectrumSweep::Dwell(int position, Rate rate, const std::function<bool()>& interrupted) {
    Clock& clock = context_.clock;
    FrequencyPoint& record = records_[position];
    FrequencyHold& hold = holds_[position];
    record = FrequencyPoint{};
    record.index = position + 1;
    const DwellLimit& limit = kDwellLimits[std::clamp(int(rate), int(kSlow), int(kFast))];
    const uint32_t start = clock.NowMs();
    while (clock.NowMs() - start < limit.ms && record.count < limit.samples) {
        if (interrupted()) {
            return false;
        }
        uint8_t percent = 0;
        const Status status = GetRSSI_freq(context_.driver, percent, uint8_t(record.index));
        if (status == Status::kChannelLost) {
            // Nothing more can be read until the channel has been reopened.
            driverLost_ = true;
            break;
        }
        if (status != Status::kOk) {
            // A card refusing every request must not hold the processor for the whole dwell.
            clock.YieldTimeSlice();
            continue;
        }
        const int sample = std::min<int>(percent, kMaxPercent);
        record.count += 1;
        record.sum += sample;
        record.maximum = std::max(record.maximum, sample);
        record.peak = std::max(record.peak, sample);
        hold.minimum = hold.count == 0 ? sample : std::min(hold.minimum, sample);
        hold.peak = std::max(hold.peak, sample);
        hold.sum += sample;
        hold.count += 1;
    }
    return true;
}

}  // namespace vz
