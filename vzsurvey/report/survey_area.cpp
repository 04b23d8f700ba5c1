// Sizing the map.
#include "vzsurvey/report/survey_area.h"

#include <algorithm>
#include <cmath>

namespace vz {
namespace {

constexpr double kShownWidth = 960;
constexpr double kShownHeight = 720;
constexpr double kMarginShare = 0.1;
constexpr double kSmallestExtent = 10;
constexpr double kGridLines = 10;

double FittingScale(double width, double height) {
    return std::min(kShownWidth / width, kShownHeight / height);
}

double RoundStep(double extent) {
    const double rough = extent / kGridLines;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double multiple : {1.0, 2.0, 5.0}) {
        if (multiple * power >= rough) {
            return multiple * power;
        }
    }
    return 10 * power;
}

}  // namespace

SurveyArea AreaOfPlan(const ImageHeader& plan) {
    const double width = plan.width;
    const double height = plan.height;
    return {width, height, std::min(1.0, FittingScale(width, height)), 0};
}

SurveyArea AreaAroundPoints(std::span<const WalkPoint> points) {
    double farthestX = 0;
    double farthestY = 0;
    for (const WalkPoint& point : points) {
        farthestX = std::max(farthestX, point.x);
        farthestY = std::max(farthestY, point.y);
    }
    const double margin = kMarginShare * std::max({farthestX, farthestY, kSmallestExtent});
    const double width = farthestX + margin;
    const double height = farthestY + margin;
    return {width, height, FittingScale(width, height), RoundStep(std::max(width, height))};
}

}  // namespace vz
