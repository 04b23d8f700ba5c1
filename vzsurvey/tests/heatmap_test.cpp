// The heatmap's arithmetic: the weighting, the radius rule, the colour scale and the cells' codes.
#include <gtest/gtest.h>

#include "vzsurvey/report/colour_scale.h"
#include "vzsurvey/report/coverage.h"
#include "vzsurvey/report/heat_grid.h"

namespace vz {
namespace {

TEST(Heatmap, WeightingIsByTheInverseSquareAndStopsAtTheRadius) {
    const Sample kSamples[] = {{0, 0, 10}, {10, 0, 30}};
    struct Case {
        double x, y, radius;
        std::optional<double> value;
    };
    const Case kCases[] = {
        {0, 0, 1, 10},           // a point itself: its own reading, whatever the others
        {10, 0, 1, 30},          //
        {5, 0, 20, 20},          // halfway: the plain mean
        {2, 0, 20, 190.0 / 17},  // weights 1/4 and 1/64
        {0, 20, 20, 170.0 / 9},  // the nearest point exactly at the radius still counts
        {0, 30, 20, {}},         // beyond it nothing is drawn
    };
    for (const Case& c : kCases) {
        const auto value = IdwValue(kSamples, c.x, c.y, c.radius);
        ASSERT_EQ(value.has_value(), c.value.has_value()) << c.x << "," << c.y;
        if (value) {
            EXPECT_DOUBLE_EQ(*value, *c.value) << c.x << "," << c.y;
        }
    }
    EXPECT_EQ(IdwValue({}, 0, 0, 100), std::nullopt);
}

TEST(Heatmap, RadiusIsTwiceTheMedianSpacingOrATwentiethOfTheDiagonal) {
    const std::pair<std::vector<Sample>, double> kCases[] = {
        {{{0, 0}, {10, 0}, {30, 0}}, 20},             // spacings 10, 10, 20
        {{{0, 0}, {10, 0}, {100, 0}, {130, 0}}, 60},  // 10, 10, 30, 30: the upper middle
        {{{0, 0}, {1, 0}, {2, 0}}, 5},                // a cluster: the diagonal's share
        {{{50, 50}}, 5},                              // one point
    };
    for (const auto& [points, radius] : kCases) {
        EXPECT_DOUBLE_EQ(CoverageRadius(points, 100), radius) << points.size();
    }
}

TEST(Heatmap, ColourScaleRunsFromBottomToTopThroughItsStops) {
    const std::pair<double, Rgb> kCases[] = {
        {0, {40, 20, 140}},   {-1, {40, 20, 140}}, {0.125, {30, 70, 185}},
        {0.5, {30, 180, 90}}, {1, {215, 35, 35}},  {7, {215, 35, 35}},
    };
    for (const auto& [fraction, colour] : kCases) {
        EXPECT_EQ(ScaleColour(fraction), colour) << fraction;
    }
}

TEST(Heatmap, CodesPutTheHighestReadingAtTheTopAndWorseThanTheThresholdInGrey) {
    const HeatScale kSignal{20, 90, 40, false};
    const HeatScale kLatency{5, 15, 10, true};
    const HeatScale kOneReading{7, 7, std::nullopt, false};
    const std::tuple<double, HeatScale, int> kCases[] = {
        {90, kSignal, 255},
        {40, kSignal, 2 + 72},  // at the threshold is not worse than it: 20/70 up the scale
        {39.9, kSignal, kWorseThanThreshold},
        {20, kSignal, kWorseThanThreshold},
        {5, kLatency, kFirstScaleCode},
        {12, kLatency, kWorseThanThreshold},
        {7, kOneReading, 255},
    };
    for (const auto& [value, scale, code] : kCases) {
        EXPECT_EQ(HeatCode(value, scale), code) << value;
    }
    EXPECT_EQ(ScaleColour((255 - kFirstScaleCode) / double(kScaleCodes - 1)), ScaleColour(1));
}

TEST(Heatmap, ACellHoldingAPointShowsThatPointsOwnReading) {
    const HeatGrid grid = GridOver(240, 120);  // cells of one unit
    ASSERT_EQ(grid.columns, 240);
    ASSERT_EQ(grid.rows, 120);
    // Points near enough each other that a cell's centre would not give either's reading; of
    // two in one cell, the one nearer its centre counts.
    const Sample kSamples[] = {{10.9, 10.9, 90}, {10.05, 10.05, 20}, {12.5, 10.5, 20}};
    const std::string cells = HeatCells(grid, kSamples, 5, {20, 90, std::nullopt, false});
    const auto code = [&cells](int column, int row) { return uint8_t(cells[row * 240 + column]); };
    EXPECT_EQ(code(10, 10), 255);
    EXPECT_EQ(code(12, 10), kFirstScaleCode);
    EXPECT_GT(code(11, 10), kFirstScaleCode);
    EXPECT_LT(code(11, 10), 255);
    EXPECT_EQ(code(20, 10), kNoCoverage);
    EXPECT_EQ(code(100, 100), kNoCoverage);
}

}  // namespace
}  // namespace vz
