// How the card's radio turns a signal level into the raw 8-bit reading it reports.
#pragma once

#include <cstdint>
#include <vector>

#include "emulator/core/scenario.h"

namespace vz {

// The calibration points are samples of the radio's response: level -d dBm reads raw r.
// Between points the response is linear; beyond them it continues with the slope of the
// nearest pair. A card without points answers like the driver's default table (raw 100 at
// -80 dBm to raw 200 at -40 dBm), so the programs read the level back either way.
class SignalModel {
  public:
    explicit SignalModel(const std::vector<CalibrationEntry>& points);

    uint8_t RawReading(double levelDbm) const;

  private:
    struct Point {
        double level;
        double raw;
    };
    std::vector<Point> points_;  // by rising level
};

}  // namespace vz
