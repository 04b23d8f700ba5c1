// The thresholds a run is judged by: which summary figure each watches and where its warning and
// critical limits lie.
#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "vzsurvey/command_line/request.h"
#include "vzsurvey/monitoring/verdict.h"
#include "vzsurvey/output/record.h"

namespace vz {

// A figure strictly above (or below) `value` is past the limit; one equal to it is not.
struct Limit {
    enum class Side { kAbove, kBelow };
    Side side;
    double value;
};

struct Rule {
    std::string_view field;  // a summary field of the command
    std::optional<Limit> warning;
    std::optional<Limit> critical;
};

// link: latency_ms and loss_percent against the --warn/--crit options given; survey: nodes_heard
// below --min-nodes; status: synchronised below 1 (not synchronised). Others have none.
std::vector<Rule> RulesFor(const Request& request);

// CRITICAL when a figure is past its critical limit, else WARNING when past its warning limit;
// UNKNOWN when a watched figure is missing; the worst of all rules, OK when there are none.
// Figures are judged as they are shown, rounded to their decimals, so that a printed 50.0 is not
// above a limit of 50.
Verdict Judge(SurveyCommand command, std::span<const Rule> rules, const Record& summary);

}  // namespace vz
