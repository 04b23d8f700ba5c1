// The coverage between the points: inverse-distance weighting of their readings, and how far from
// the points it is drawn at all.
#pragma once

#include <optional>
#include <span>

namespace vz {

struct Sample {
    double x = 0;
    double y = 0;
    double value = 0;
};

// The weighted mean of the samples' values at (x, y), each weighted by one over its squared
// distance; a sample at (x, y) itself gives exactly its value. None when the nearest sample is
// farther than `radius`, or there is none.
std::optional<double> IdwValue(std::span<const Sample> samples, double x, double y, double radius);

// How far from its nearest point a heatmap reaches: twice the median of the distances from each
// point to its nearest neighbour, so the coverage follows how densely the walk was measured; at
// least a twentieth of the area's diagonal, so a single point or a cluster still shows.
double CoverageRadius(std::span<const Sample> points, double diagonal);

}  // namespace vz
