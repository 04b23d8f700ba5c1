// How values are shown in every format: figures rounded to their decimals (no binary noise such as
// 0.30000000000000004), a figure that is not finite shown as null, and texts made printable.
#pragma once

#include <string>
#include <string_view>

#include "vzsurvey/output/record.h"

namespace vz {

// `value` as it is shown: a figure rounded to `decimals` places (never -0), or null when it is
// not finite; other values unchanged.
Value ShownValue(const Value& value, int decimals);

// A finite figure with exactly `decimals` places: "7.30".
std::string FixedText(double figure, int decimals);

// A finite figure rounded to `decimals` places without trailing zeros: "7.3", "20".
std::string ShortNumberText(double figure, int decimals);

// `text` with each control character replaced by '?', for lines a control character would break.
std::string PrintableText(std::string_view text);

// `value` as a person reads it: yes or no, a whole number, a figure with `decimals` places, a
// text through `textOf` (which makes it safe where it goes), "-" for none.
std::string ReadableText(const Value& value, int decimals,
                         std::string (*textOf)(std::string_view text));

}  // namespace vz
