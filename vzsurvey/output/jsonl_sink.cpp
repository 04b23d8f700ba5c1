// JSON lines, each flushed so a reader sees it at once.
#include "vzsurvey/output/jsonl_sink.h"

#include "vzsurvey/output/json_fields.h"
#include "vzsurvey/output/utc_time.h"

namespace vz {

void JsonlSink::Begin(SurveyCommand command, std::int64_t startedMs) {
    layout_ = &LayoutOf(command);
    command_ = CommandName(command);
    startedMs_ = startedMs;
}

void JsonlSink::Record(const vz::Record& record) {
    Json line = {{"type", "record"}};
    AddJsonFields(line, layout_->columns, record);
    out_ << JsonText(line, -1) << '\n' << std::flush;
}

void JsonlSink::End(const vz::Record& summary, std::int64_t endedMs) {
    Json line = {{"type", "summary"},
                 {"command", command_},
                 {"started", UtcTimeText(startedMs_)},
                 {"ended", UtcTimeText(endedMs)}};
    AddJsonFields(line, layout_->summary, summary);
    out_ << JsonText(line, -1) << '\n' << std::flush;
}

}  // namespace vz
