// Where a command's output goes: the start, each record as it is measured, and the end with the
// summary. End is called however the run ends (also when it is interrupted), and leaves complete
// output behind: a whole JSON document, a closed table.
#pragma once

#include <cstdint>

#include "vzsurvey/command.h"
#include "vzsurvey/output/record.h"

namespace vz {

class OutputSink {
  public:
    virtual ~OutputSink() = default;

    // Times are milliseconds since the Unix epoch.
    virtual void Begin(SurveyCommand command, std::int64_t startedMs) = 0;
    virtual void Record(const vz::Record& record) = 0;
    virtual void End(const vz::Record& summary, std::int64_t endedMs) = 0;
};

}  // namespace vz
