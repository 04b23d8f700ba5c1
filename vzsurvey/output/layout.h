// Each command's fields: the columns of its records and the fields of its summary. This is the one
// list of names: the output formats, the Prometheus metrics and docs/vzsurvey.md follow it.
#pragma once

#include <span>
#include <string_view>

#include "vzsurvey/command.h"

namespace vz {

enum class Align { kLeft, kRight };

// A record field as a table column. Widths are fixed so rows print as they happen; a value wider
// than its column is printed whole and pushes the rest of its row right.
struct Column {
    std::string_view name;
    std::string_view heading;
    int width;
    Align align;
    int decimals;  // for figures; whole numbers print as they are
};

struct SummaryField {
    std::string_view name;
    int decimals;
    std::string_view help;  // one line, the metric's HELP text
};

struct CommandLayout {
    std::span<const Column> columns;
    std::span<const SummaryField> summary;
    // The summary field holding the address the figures are about (the metrics' node label).
    std::string_view nodeField;
};

const CommandLayout& LayoutOf(SurveyCommand command);

// The decimals of the summary field `name` of `command`; 0 for a field it does not have.
int SummaryDecimals(SurveyCommand command, std::string_view name);

}  // namespace vz
