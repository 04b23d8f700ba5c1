// Times in the output: ISO 8601 in UTC with milliseconds, "2026-12-07T08:30:00.123Z", so that
// every time has the same width and texts sort as the times do.
#pragma once

#include <cstdint>
#include <string>

namespace vz {

// `millisecondsSinceEpoch` (Unix epoch, UTC) as an ISO 8601 text; a time outside the years 0000
// to 9999 shows as the nearer end of them.
std::string UtcTimeText(std::int64_t millisecondsSinceEpoch);

}  // namespace vz
