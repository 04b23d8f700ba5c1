// The area the map shows, in the plan's pixels, and how large it is drawn on the page.
#pragma once

#include <span>

#include "vzsurvey/report/image_header.h"
#include "vzsurvey/walk/walk_file.h"

namespace vz {

struct SurveyArea {
    double width = 0;
    double height = 0;
    double scale = 1;     // page pixels per plan pixel
    double gridStep = 0;  // the plain grid's spacing without a plan; 0 with one
};

// The whole plan, drawn at its own size or shrunk to fit 960 by 720 page pixels.
SurveyArea AreaOfPlan(const ImageHeader& plan);

// Without a plan: from the origin to a tenth beyond the farthest point, scaled to fit 960 by 720
// page pixels, with grid lines at a round spacing (1, 2 or 5 times a power of ten) that gives
// about ten of them along the longer side.
SurveyArea AreaAroundPoints(std::span<const WalkPoint> points);

}  // namespace vz
