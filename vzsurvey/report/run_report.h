// vzsurvey report: from a walk file and a plan to the page. It never touches the card.
#pragma once

#include <ostream>

#include "vzsurvey/command_line/request.h"
#include "vzsurvey/monitoring/verdict.h"

namespace vz {

// Reads the walk and the plan, writes the page. Returns: the exit status's verdict (OK, or
// UNKNOWN with one line on `err`); skipped lines are told on `err` and do not fail the report.
Verdict RunReport(const ReportRequest& request, std::ostream& out, std::ostream& err);

}  // namespace vz
