// Inverse-distance weighting with power 2, and the radius rule.
#include "vzsurvey/report/coverage.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace vz {
namespace {

constexpr double kSpacingsReached = 2;
constexpr double kShareOfDiagonal = 1.0 / 20;

double SquaredDistance(const Sample& sample, double x, double y) {
    const double dx = sample.x - x;
    const double dy = sample.y - y;
    return dx * dx + dy * dy;
}

}  // namespace

std::optional<double> IdwValue(std::span<const Sample> samples, double x, double y, double radius) {
    double nearest = std::numeric_limits<double>::infinity();
    double weights = 0;
    double weighted = 0;
    for (const Sample& sample : samples) {
        const double squared = SquaredDistance(sample, x, y);
        if (squared == 0) {
            return sample.value;
        }
        nearest = std::min(nearest, squared);
        weights += 1 / squared;
        weighted += sample.value / squared;
    }
    if (!(nearest <= radius * radius)) {
        return std::nullopt;
    }
    return weighted / weights;
}

double CoverageRadius(std::span<const Sample> points, double diagonal) {
    std::vector<double> spacings;
    for (size_t i = 0; i < points.size(); ++i) {
        double nearest = std::numeric_limits<double>::infinity();
        for (size_t j = 0; j < points.size(); ++j) {
            if (j != i) {
                nearest = std::min(nearest, SquaredDistance(points[j], points[i].x, points[i].y));
            }
        }
        if (std::isfinite(nearest)) {
            spacings.push_back(std::sqrt(nearest));
        }
    }
    double reach = 0;
    if (!spacings.empty()) {
        auto middle = spacings.begin() + spacings.size() / 2;
        std::nth_element(spacings.begin(), middle, spacings.end());
        reach = kSpacingsReached * *middle;
    }
    return std::max(reach, kShareOfDiagonal * diagonal);
}

}  // namespace vz
