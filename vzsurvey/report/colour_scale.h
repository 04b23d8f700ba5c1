// The heatmaps' colours: a scale from the lowest reading (bottom) to the highest (top), and the
// grey of readings worse than the threshold.
#pragma once

#include <cstdint>

namespace vz {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Readings worse than the threshold; no colour of the scale is a grey.
constexpr Rgb kWorseThanThresholdGrey{160, 160, 160};

// The colour `fraction` of the way up the scale: dark blue at 0, through blue, green and yellow,
// to red at 1; clamped to the scale.
Rgb ScaleColour(double fraction);

// Where `value` lies between `lowest` and `highest`, 0 to 1; the top when they are equal.
double ScaleFraction(double value, double lowest, double highest);

}  // namespace vz
