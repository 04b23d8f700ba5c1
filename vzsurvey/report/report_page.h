// The report's one page: the walk and the card, the coverage map, the points, the link tests and
// the spectrum, with its style and script inline.
#pragma once

#include <optional>
#include <string>

#include "vzsurvey/command_line/request.h"
#include "vzsurvey/report/plan_image.h"
#include "vzsurvey/walk/walk_file.h"

namespace vz {

// `walk` has at least one point, each on the plan when there is one.
std::string ReportPage(const WalkReading& walk, const std::optional<PlanImage>& plan,
                       const ReportRequest& request);

}  // namespace vz
