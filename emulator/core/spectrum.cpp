// Spectrum samples: the noise floor with its spread, interferers by duty cycle, hopping traffic.
#include "emulator/core/spectrum.h"

#include <cmath>

namespace vz {

namespace {

double ToMilliwatts(double dbm) {
    return std::pow(10.0, dbm / 10.0);
}

}  // namespace

double SampleSpectrumDbm(const SpectrumSpec& spectrum, int frequencyIndex,
                         const std::vector<double>& heardLevels, EmulatorRandom& random) {
    double floor = spectrum.noiseFloorDbm;
    for (const auto& entry : spectrum.noiseByIndex) {
        if (entry.first == frequencyIndex) {
            floor = entry.second;
        }
    }
    // Powers add; levels in dBm do not.
    double power = ToMilliwatts(random.Normal(floor, spectrum.noiseSigmaDb));
    for (const Interferer& in : spectrum.interferers) {
        if (frequencyIndex < in.first || frequencyIndex > in.last) {
            continue;
        }
        if (random.Chance(in.duty)) {
            power += ToMilliwatts(random.Normal(in.levelDbm, spectrum.noiseSigmaDb * 0.5));
        }
    }
    if (!heardLevels.empty() && random.Chance(spectrum.trafficRate)) {
        const double level = heardLevels[random.Below(uint32_t(heardLevels.size()))];
        power += ToMilliwatts(random.Normal(level, 1.0));
    }
    return 10.0 * std::log10(power);
}

}  // namespace vz
