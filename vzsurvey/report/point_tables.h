// The tables of the walk: every point with its readings and nodes, and the link tests taken.
#pragma once

#include <span>
#include <string>

#include "vzsurvey/walk/walk_file.h"

namespace vz {

std::string PointsSection(std::span<const WalkPoint> points);

std::string LinkTestsSection(std::span<const WalkPoint> points);

}  // namespace vz
