// Seeded random numbers for the emulated radio world.
#include "emulator/core/random.h"

#include <cmath>

namespace vz {

namespace {

uint64_t SplitMix(uint64_t& x) {
    uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint64_t Rotl(uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

}  // namespace

void EmulatorRandom::Reseed(uint64_t seed) {
    uint64_t x = seed;
    for (uint64_t& s : state_) {
        s = SplitMix(x);
    }
    haveSpare_ = false;
}

uint64_t EmulatorRandom::Next() {
    const uint64_t result = Rotl(state_[1] * 5, 7) * 9;
    const uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = Rotl(state_[3], 45);
    return result;
}

double EmulatorRandom::Uniform() {
    return double(Next() >> 11) * 0x1.0p-53;
}

bool EmulatorRandom::Chance(double probability) {
    if (probability <= 0.0) {
        return false;
    }
    if (probability >= 1.0) {
        return true;
    }
    return Uniform() < probability;
}

double EmulatorRandom::Normal(double mean, double deviation) {
    if (deviation <= 0.0) {
        return mean;
    }
    if (haveSpare_) {
        haveSpare_ = false;
        return mean + deviation * spare_;
    }
    // Box-Muller; 1 - Uniform() keeps the logarithm's argument above zero.
    const double u1 = 1.0 - Uniform();
    const double u2 = Uniform();
    const double radius = std::sqrt(-2.0 * std::log(u1));
    const double angle = 2.0 * 3.14159265358979323846 * u2;
    spare_ = radius * std::sin(angle);
    haveSpare_ = true;
    return mean + deviation * radius * std::cos(angle);
}

uint32_t EmulatorRandom::Below(uint32_t count) {
    if (count == 0) {
        return 0;
    }
    return static_cast<uint32_t>(Next() % count);
}

}  // namespace vz
