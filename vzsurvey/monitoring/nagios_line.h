// --nagios: the one line a monitoring plugin prints,
//   VZSURVEY LINK OK - latency 7 ms, loss 0 %, jitter 1.5 ms | latency_ms=7;20;50;0 ...
// the verdict, a short text of the main figures, and perfdata label=value;warn;crit;min;max with
// the rules' limits in plugin range syntax ("20": above 20; "5:": below 5) and "U" for a missing
// value.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "vzsurvey/monitoring/rules.h"
#include "vzsurvey/output/output_sink.h"

namespace vz {

std::string NagiosLine(SurveyCommand command, std::span<const Rule> rules, const Record& summary);

// Prints nothing until End, then the line.
class NagiosSink : public OutputSink {
  public:
    NagiosSink(std::vector<Rule> rules, std::ostream& out) : rules_(std::move(rules)), out_(out) {}

    void Begin(SurveyCommand command, std::int64_t startedMs) override { command_ = command; }
    void Record(const vz::Record& record) override {}
    void End(const vz::Record& summary, std::int64_t endedMs) override;

  private:
    std::vector<Rule> rules_;
    std::ostream& out_;
    SurveyCommand command_ = SurveyCommand::kStatus;
};

}  // namespace vz
