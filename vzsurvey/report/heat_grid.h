// A heatmap as the page paints it: square cells over the survey area, each holding a code for its
// colour.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "vzsurvey/report/coverage.h"

namespace vz {

struct HeatGrid {
    int columns = 0;
    int rows = 0;
    double cell = 0;  // a cell's side, in the area's units
};

// Square cells over an area of `width` by `height`, 240 along its longer side.
HeatGrid GridOver(double width, double height);

// What a cell is painted with.
constexpr std::uint8_t kNoCoverage = 0;          // nothing: farther than the radius from any point
constexpr std::uint8_t kWorseThanThreshold = 1;  // the grey
constexpr std::uint8_t kFirstScaleCode = 2;      // 2..255: up the colour scale
constexpr int kScaleCodes = 254;

struct HeatScale {
    double lowest = 0;
    double highest = 0;
    std::optional<double> threshold;
    bool lowerIsBetter = false;
};

// The code of a cell whose value is `value`.
std::uint8_t HeatCode(double value, const HeatScale& scale);

// A code per cell, row by row from the top. A cell is valued where its recorded point nearest its
// centre lies, if it holds one, so the cell shows that point's own reading; elsewhere at its
// centre.
std::string HeatCells(const HeatGrid& grid, std::span<const Sample> samples, double radius,
                      const HeatScale& scale);

}  // namespace vz
