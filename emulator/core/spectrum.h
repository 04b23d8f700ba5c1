// The signal level the radio hears on one hopping frequency: noise, interferers, traffic.
#pragma once

#include <vector>

#include "emulator/core/random.h"
#include "emulator/core/scenario.h"

namespace vz {

// One sample in dBm at `frequencyIndex` (1..100). `heardLevels` are the levels of the stations
// in range, whose hops land on the frequency now and then.
double SampleSpectrumDbm(const SpectrumSpec& spectrum, int frequencyIndex,
                         const std::vector<double>& heardLevels, EmulatorRandom& random);

}  // namespace vz
