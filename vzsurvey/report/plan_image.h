// The floor plan: its bytes, to be carried in the page, and the size its header gives.
#pragma once

#include <string>
#include <variant>

#include "vzsurvey/report/image_header.h"

namespace vz {

struct PlanImage {
    ImageHeader header;
    std::string bytes;
};

// The plan at `path`, or why it cannot be one: missing, unreadable, larger than 32 MiB, or not
// a PNG, JPEG or BMP image.
std::variant<PlanImage, std::string> LoadPlan(const std::string& path);

// The plan as a data URI, "data:image/png;base64,...".
std::string PlanDataUri(const PlanImage& plan);

}  // namespace vz
