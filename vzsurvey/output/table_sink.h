// The default output: an aligned table of the records, one row as each arrives, then the summary
// as "name: value" lines with the names aligned.
#pragma once

#include <ostream>

#include "vzsurvey/output/layout.h"
#include "vzsurvey/output/output_sink.h"

namespace vz {

class TableSink : public OutputSink {
  public:
    explicit TableSink(std::ostream& out) : out_(out) {}

    void Begin(SurveyCommand command, std::int64_t startedMs) override;
    void Record(const vz::Record& record) override;
    void End(const vz::Record& summary, std::int64_t endedMs) override;

  private:
    std::ostream& out_;
    const CommandLayout* layout_ = nullptr;
};

}  // namespace vz
