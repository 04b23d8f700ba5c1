// How the card's radio turns a signal level into the raw 8-bit reading it reports.
#pragma once

#include <cstdint>
#include <vector>

#include "emulator/core/scenario.h"

namespace vz {

// The programs turn raw readings into percent through the table the driver layer builds from
// the card's calibration points (BuildRssiMap), and show -40 dBm and stronger as 100 %, -80 dBm
// and weaker as 0 %, linear between. The card answers with the raw reading that this table
// turns back into the level's percentage; among equally good readings it takes the one nearest
// the radio's own response (the calibration points joined by straight lines), so readings
// still rise with the level where the table is flat.
class SignalModel {
  public:
    explicit SignalModel(const std::vector<CalibrationEntry>& points);

    uint8_t RawReading(double levelDbm) const;
    // The programs' percentage for a raw reading, as BuildRssiMap computes it.
    uint8_t Percent(uint8_t raw) const { return table_[raw]; }

  private:
    double ResponseRaw(double levelDbm) const;

    struct Point {
        double level;
        double raw;
    };
    std::vector<Point> points_;  // by rising level
    uint8_t table_[256] = {};
};

// The percentage the programs show for a level: 100 at -40 dBm, 0 at -80 dBm, linear between.
double LevelPercent(double levelDbm);

}  // namespace vz
