// Texts and figures as they go into the page's HTML.
#pragma once

#include <string>
#include <string_view>

#include "vzsurvey/output/record.h"
#include "vzsurvey/report/colour_scale.h"

namespace vz {

// `text` with &, <, >, " and ' escaped, and control characters shown as '?'.
std::string Html(std::string_view text);

// A value as a table cell shows it: figures to `decimals` places, flags yes or no, null "-";
// escaped.
std::string ValueHtml(const Value& value, int decimals);

// "rgb(215,35,35)".
std::string CssColour(Rgb colour);

}  // namespace vz
