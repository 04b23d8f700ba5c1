// The emulator's one source of chance: seeded, and the same sequence on every platform.
#pragma once

#include <cstdint>

namespace vz {

// xoshiro256** seeded through splitmix64; the standard library's distributions differ between
// implementations, so normal samples are drawn here too and a seed replays the same world.
class EmulatorRandom {
  public:
    explicit EmulatorRandom(uint64_t seed = 1) { Reseed(seed); }

    void Reseed(uint64_t seed);
    uint64_t Next();
    // Uniform in [0, 1).
    double Uniform();
    // True with the given probability (clamped to 0..1).
    bool Chance(double probability);
    // Normal with the given mean and standard deviation.
    double Normal(double mean, double deviation);
    // Uniform integer in [0, count); count 0 gives 0.
    uint32_t Below(uint32_t count);

  private:
    uint64_t state_[4] = {};
    bool haveSpare_ = false;
    double spare_ = 0.0;
};

}  // namespace vz
