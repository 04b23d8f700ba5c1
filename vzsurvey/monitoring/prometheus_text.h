// --prometheus: a run's summary figures in the Prometheus text exposition format, one gauge per
// figure named vezurez_<command>_<field>, labelled with the address the figures are about:
//   vezurez_link_latency_ms{node="00a0d4010001"} 7.3
// Texts are not figures and missing figures are left out; flags are 1 and 0.
#pragma once

#include <string>

#include "vzsurvey/command.h"
#include "vzsurvey/output/record.h"

namespace vz {

std::string PrometheusText(SurveyCommand command, const Record& summary);

}  // namespace vz
