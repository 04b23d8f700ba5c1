// The scale's stops, blended in straight lines between them.
#include "vzsurvey/report/colour_scale.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace vz {
namespace {

struct Stop {
    double at;
    Rgb colour;
};

constexpr Stop kStops[] = {
    {0.0, {40, 20, 140}},   {0.25, {20, 120, 230}}, {0.5, {30, 180, 90}},
    {0.75, {250, 210, 20}}, {1.0, {215, 35, 35}},
};

std::uint8_t Blend(std::uint8_t from, std::uint8_t to, double share) {
    return static_cast<std::uint8_t>(std::lround(from + (to - from) * share));
}

}  // namespace

Rgb ScaleColour(double fraction) {
    const double at = std::clamp(std::isnan(fraction) ? 0.0 : fraction, 0.0, 1.0);
    size_t upper = 1;
    while (upper + 1 < std::size(kStops) && at > kStops[upper].at) {
        ++upper;
    }
    const Stop& low = kStops[upper - 1];
    const Stop& high = kStops[upper];
    const double share = (at - low.at) / (high.at - low.at);
    return {Blend(low.colour.red, high.colour.red, share),
            Blend(low.colour.green, high.colour.green, share),
            Blend(low.colour.blue, high.colour.blue, share)};
}

double ScaleFraction(double value, double lowest, double highest) {
    if (highest <= lowest) {
        return 1;
    }
    return std::clamp((value - lowest) / (highest - lowest), 0.0, 1.0);
}

}  // namespace vz
