// --csv: one table of comma-separated values with a header row (RFC 4180 quoting). It holds the
// records, a row as each arrives; status, whose answer is only its summary, has the summary as its
// one row. Lines end in '\n' (the Windows console's text mode makes that CR LF).
#pragma once

#include <ostream>

#include "vzsurvey/output/layout.h"
#include "vzsurvey/output/output_sink.h"

namespace vz {

class CsvSink : public OutputSink {
  public:
    explicit CsvSink(std::ostream& out) : out_(out) {}

    void Begin(SurveyCommand command, std::int64_t startedMs) override;
    void Record(const vz::Record& record) override;
    void End(const vz::Record& summary, std::int64_t endedMs) override;

  private:
    std::ostream& out_;
    const CommandLayout* layout_ = nullptr;
};

}  // namespace vz
