// The cells of a heatmap and their codes.
#include "vzsurvey/report/heat_grid.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "vzsurvey/report/colour_scale.h"

namespace vz {
namespace {

constexpr int kCellsAlongLongerSide = 240;

}  // namespace

HeatGrid GridOver(double width, double height) {
    const double cell = std::max(width, height) / kCellsAlongLongerSide;
    return {std::max(1, static_cast<int>(std::ceil(width / cell))),
            std::max(1, static_cast<int>(std::ceil(height / cell))), cell};
}

std::uint8_t HeatCode(double value, const HeatScale& scale) {
    if (scale.threshold &&
        (scale.lowerIsBetter ? value > *scale.threshold : value < *scale.threshold)) {
        return kWorseThanThreshold;
    }
    const double fraction = ScaleFraction(value, scale.lowest, scale.highest);
    return static_cast<std::uint8_t>(kFirstScaleCode + std::lround(fraction * (kScaleCodes - 1)));
}

std::string HeatCells(const HeatGrid& grid, std::span<const Sample> samples, double radius,
                      const HeatScale& scale) {
    const size_t cellCount = static_cast<size_t>(grid.columns) * grid.rows;
    auto centreX = [&grid](size_t cell) { return (cell % grid.columns + 0.5) * grid.cell; };
    auto centreY = [&grid](size_t cell) { return (cell / grid.columns + 0.5) * grid.cell; };

    std::vector<const Sample*> heldPoint(cellCount, nullptr);
    for (const Sample& sample : samples) {
        const int column = std::clamp(static_cast<int>(sample.x / grid.cell), 0, grid.columns - 1);
        const int row = std::clamp(static_cast<int>(sample.y / grid.cell), 0, grid.rows - 1);
        const size_t cell = static_cast<size_t>(row) * grid.columns + column;
        const auto distance = [&](const Sample& s) {
            return std::hypot(s.x - centreX(cell), s.y - centreY(cell));
        };
        if (heldPoint[cell] == nullptr || distance(sample) < distance(*heldPoint[cell])) {
            heldPoint[cell] = &sample;
        }
    }

    std::string codes(cellCount, static_cast<char>(kNoCoverage));
    for (size_t cell = 0; cell < cellCount; ++cell) {
        const Sample* held = heldPoint[cell];
        const std::optional<double> value =
            held ? held->value : IdwValue(samples, centreX(cell), centreY(cell), radius);
        if (value) {
            codes[cell] = static_cast<char>(HeatCode(*value, scale));
        }
    }
    return codes;
}

}  // namespace vz
