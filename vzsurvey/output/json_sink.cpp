// The JSON document, two spaces an indent level.
#include "vzsurvey/output/json_sink.h"

#include "vzsurvey/output/utc_time.h"

namespace vz {
namespace {

constexpr int kIndent = 2;

}  // namespace

void JsonSink::Begin(SurveyCommand command, std::int64_t startedMs) {
    layout_ = &LayoutOf(command);
    command_ = CommandName(command);
    startedMs_ = startedMs;
}

void JsonSink::Record(const vz::Record& record) {
    Json object = Json::object();
    AddJsonFields(object, layout_->columns, record);
    records_.push_back(std::move(object));
}

void JsonSink::End(const vz::Record& summary, std::int64_t endedMs) {
    Json document = {{"command", command_},
                     {"started", UtcTimeText(startedMs_)},
                     {"ended", UtcTimeText(endedMs)},
                     {"records", std::move(records_)},
                     {"summary", Json::object()}};
    AddJsonFields(document["summary"], layout_->summary, summary);
    out_ << JsonText(document, kIndent) << '\n' << std::flush;
}

}  // namespace vz
