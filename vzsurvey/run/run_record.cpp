// record: one point of a walk. The survey, and on request a link test and a spectrum sweep, run
// as their commands do, their figures kept rather than printed, and the point appended to the
// walk file, which is on disk before the command ends.
#include <optional>
#include <string>
#include <vector>

#include "vzsurvey/output/utc_time.h"
#include "vzsurvey/run/commands.h"
#include "vzsurvey/walk/walk_file.h"

namespace vz {

namespace {

// The link test a point takes: shorter than the command's default, so a walk keeps moving.
constexpr int kPointLinkSeconds = 5;

// Keeps the records a run hands over instead of printing them.
class KeptRecords : public OutputSink {
  public:
    void Begin(SurveyCommand, std::int64_t) override {}
    void Record(const vz::Record& record) override { records.push_back(record); }
    void End(const vz::Record&, std::int64_t) override {}

    std::vector<vz::Record> records;
};

std::string TextOf(const Record& record, std::string_view name) {
    const Value& value = FieldValue(record, name);
    return std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : "";
}

int64_t IntegerOf(const Record& record, std::string_view name) {
    const Value& value = FieldValue(record, name);
    return std::holds_alternative<int64_t>(value) ? std::get<int64_t>(value) : 0;
}

// The nodes of the survey's last cycle.
std::vector<WalkNode> LastCycle(const std::vector<Record>& records, int64_t cycle) {
    std::vector<WalkNode> nodes;
    for (const Record& record : records) {
        if (IntegerOf(record, "cycle") != cycle) {
            continue;
        }
        const Value& heard = FieldValue(record, "heard");
        nodes.push_back({TextOf(record, "address"), TextOf(record, "master_name"),
                         int(IntegerOf(record, "signal_percent")),
                         int(IntegerOf(record, "link_quality")),
                         std::holds_alternative<bool>(heard) && std::get<bool>(heard)});
    }
    return nodes;
}

WalkSpectrum SweepOf(const std::vector<Record>& records) {
    WalkSpectrum spectrum;
    for (const Record& record : records) {
        const Value& average = FieldValue(record, "average_percent");
        spectrum.frequencyGhz.push_back(std::get<double>(FieldValue(record, "frequency_ghz")));
        spectrum.averagePercent.push_back(
            std::holds_alternative<double>(average) ? std::get<double>(average) : 0.0);
        spectrum.peakHoldPercent.push_back(int(IntegerOf(record, "peak_hold_percent")));
        spectrum.minimumHoldPercent.push_back(int(IntegerOf(record, "minimum_hold_percent")));
    }
    return spectrum;
}

}  // namespace

Record RunRecord(ProgramContext& context, const RecordRequest& request, const RunHooks& hooks,
                 std::optional<std::string>& failure) {
    WalkPoint point;
    point.x = request.x;
    point.y = request.y;
    point.label = request.label;
    point.time = UtcTimeText(hooks.utcNowMs());
    // Written only with the walk's first point, whose time is the walk's start.
    const WalkHeader header{VZ_SURVEY_VERSION, point.time, RunStatus(context)};

    SurveyRequest cycles;
    cycles.cycles = request.cycles;
    KeptRecords survey;
    const Record surveyed = RunSurvey(context, cycles, survey, hooks);
    point.nodes = LastCycle(survey.records, IntegerOf(surveyed, "cycles"));
    const CardState& card = context.driver.card;
    point.masterAddress = card.masterAddress;
    point.masterName = card.masterName;
    if (request.link && !hooks.stopRequested()) {
        LinkRequest link;
        link.address = *request.link == "master" ? std::nullopt : request.link;
        link.seconds = kPointLinkSeconds;
        KeptRecords passes;
        point.link = RunLink(context, link, passes, hooks);
    }
    if (request.snoop && !hooks.stopRequested()) {
        KeptRecords sweep;
        RunSnoop(context, SnoopRequest{}, sweep, hooks);
        point.spectrum = SweepOf(sweep.records);
    }
    failure = AppendWalkPoint(request.out, header, point);

    Record summary;
    summary.fields = {
        {"label", request.label},
        {"x", request.x},
        {"y", request.y},
        {"master_address", TextOrNull(card.masterAddress)},
        {"master_name", TextOrNull(card.masterName)},
        {"nodes_heard", int64_t(point.nodes.size())},
    };
    return summary;
}

}  // namespace vz
