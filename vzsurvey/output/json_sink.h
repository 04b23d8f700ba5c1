// --json: one document written at the end, {"command", "started", "ended", "records", "summary"};
// the records are kept until then.
#pragma once

#include <ostream>
#include <string>

#include "vzsurvey/output/json_fields.h"
#include "vzsurvey/output/layout.h"
#include "vzsurvey/output/output_sink.h"

namespace vz {

class JsonSink : public OutputSink {
  public:
    explicit JsonSink(std::ostream& out) : out_(out) {}

    void Begin(SurveyCommand command, std::int64_t startedMs) override;
    void Record(const vz::Record& record) override;
    void End(const vz::Record& summary, std::int64_t endedMs) override;

  private:
    std::ostream& out_;
    const CommandLayout* layout_ = nullptr;
    std::string command_;
    std::int64_t startedMs_ = 0;
    Json records_ = Json::array();
};

}  // namespace vz
