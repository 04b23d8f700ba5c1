// The coverage map: the Master and figure selectors, the colour scale, the plan (or a plain grid)
// under the heatmap, the points with their labels and readings, and the heatmaps' cells for the
// page's script.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "vzsurvey/command_line/request.h"
#include "vzsurvey/report/plan_image.h"
#include "vzsurvey/walk/walk_file.h"

namespace vz {

// Each point lies on the plan (the caller checked it).
std::string MapSection(std::span<const WalkPoint> points, const std::optional<PlanImage>& plan,
                       const ReportRequest& request);

}  // namespace vz
