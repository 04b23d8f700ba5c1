// The walk file's lines as JSON objects: {"type": "walk", ...} first, then {"type": "point", ...}.
#pragma once

#include <string>
#include <variant>

#include "vzsurvey/output/json_fields.h"
#include "vzsurvey/walk/walk_file.h"

namespace vz {

Json WalkHeaderJson(const WalkHeader& header);
Json WalkPointJson(const WalkPoint& point);

// The header or point a line's object holds, or why it holds neither.
std::variant<WalkHeader, WalkPoint, std::string> WalkLineFromJson(const Json& line);

}  // namespace vz
