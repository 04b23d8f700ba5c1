// Base64, for what the page carries inside itself: the plan as a data URI and the heatmaps' cells.
#pragma once

#include <string>
#include <string_view>

namespace vz {

std::string Base64(std::string_view bytes);

}  // namespace vz
