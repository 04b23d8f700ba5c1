// The sweeps of the walk as a waterfall (frequency across, a row per sweep in walk order, the
// average level as colour), with the band's average and peak hold as lines below it.
#pragma once

#include <span>
#include <string>

#include "vzsurvey/walk/walk_file.h"

namespace vz {

std::string SpectrumSection(std::span<const WalkPoint> points);

}  // namespace vz
