// --jsonl: one line of JSON per record as it arrives, {"type": "record", fields...}, then one
// {"type": "summary", "command", "started", "ended", fields...}.
#pragma once

#include <ostream>
#include <string>

#include "vzsurvey/output/layout.h"
#include "vzsurvey/output/output_sink.h"

namespace vz {

class JsonlSink : public OutputSink {
  public:
    explicit JsonlSink(std::ostream& out) : out_(out) {}

    void Begin(SurveyCommand command, std::int64_t startedMs) override;
    void Record(const vz::Record& record) override;
    void End(const vz::Record& summary, std::int64_t endedMs) override;

  private:
    std::ostream& out_;
    const CommandLayout* layout_ = nullptr;
    std::string command_;
    std::int64_t startedMs_ = 0;
};

}  // namespace vz
