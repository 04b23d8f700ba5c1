// survey: the site survey of the windows for a number of broadcast cycles, one record per node
// shown at the end of each.
#include <string>

#include "engines/site_survey.h"
#include "vzsurvey/run/commands.h"
#include "vzsurvey/run/pace.h"

namespace vz {

namespace {

// Drives the survey on its schedules and prints the table each time a cycle's figures are
// ready, as the window shows its rows.
class SurveyRun : private SurveyView {
  public:
    SurveyRun(ProgramContext& context, const Configured& configured, uint8_t inRange,
              SurveyOrder order, OutputSink& sink)
        : context_(context),
          survey_(context, configured.stationType, configured.domain, inRange, *this),
          order_(order),
          sink_(sink) {}

    // Returns: the cycles completed.
    int Run(int cycles, const RunHooks& hooks);
    const NodeTable& Table() const { return survey_.Table(); }

  private:
    void ShowRows() override;
    void AwaitEcho(bool on) override { awaitingEcho_ = on; }
    void ShowOutOfRange(bool) override {}
    void ClearRows() override {}
    void ShowNodeAdded(int) override {}
    void ShowSurveyReset() override {}
    void Listen(bool) override {}
    void Busy(bool) override {}

    ProgramContext& context_;
    SiteSurvey survey_;
    SurveyOrder order_;
    OutputSink& sink_;
    bool awaitingEcho_ = false;
    bool surveyStarted_ = false;
    int cycles_ = 0;
};

int SurveyRun::Run(int cycles, const RunHooks& hooks) {
    Clock& clock = context_.clock;
    survey_.Begin();
    survey_.Reset();
    while (cycles_ < cycles && !hooks.stopRequested()) {
        const uint32_t tickStart = clock.NowMs();
        const int before = cycles_;
        survey_.Tick(awaitingEcho_);
        if (cycles_ != before) {
            hooks.progress("cycle " + std::to_string(cycles_) + " of " + std::to_string(cycles));
        }
        AwaitNextTick(clock, tickStart);
    }
    // As the window leaves it: the card free to roam.
    survey_.End();
    return cycles_;
}

void SurveyRun::ShowRows() {
    // The first rows are drawn before the first broadcast: each later drawing ends a cycle.
    if (!surveyStarted_) {
        surveyStarted_ = true;
        return;
    }
    ++cycles_;
    const CardState& card = context_.driver.card;
    const NodeTable& table = survey_.Table();
    const int slot = table.CurrentSlot();
    const int lastSlot = (slot + kSurveySlots - 1) % kSurveySlots;
    for (int position = survey_.LowestEntry(); position <= table.HighestEntry(); ++position) {
        const int entry = order_ == SurveyOrder::kAddress ? table.ByAddress(position) : position;
        if (entry == 0 && !table.MasterHeard()) {
            continue;
        }
        const NodeEntry& node = table.Entry(entry);
        Record record;
        record.fields = {
            {"cycle", int64_t{cycles_}},
            {"address", entry == 0 ? std::string(card.masterAddress) : node.address},
            {"master_name", entry == 0 ? TextOrNull(card.masterName) : Value()},
            {"link_quality", int64_t{node.linkQuality}},
            // Answers to the last broadcast, and the late ones counted in the slot after it.
            {"heard", node.replies[lastSlot] > 0 || node.replies[slot] > 0},
            {"signal_percent", int64_t{node.signalPercent}},
        };
        sink_.Record(record);
    }
}

}  // namespace

Record RunSurvey(ProgramContext& context, const SurveyRequest& request, OutputSink& sink,
                 const RunHooks& hooks) {
    const uint8_t inRange = AdoptCurrentMaster(context);
    SurveyRun run(context, ReadConfiguration(context), inRange, request.order, sink);
    const Driver& driver = context.driver;
    const int cycles = run.Run(request.cycles, hooks);

    Record summary;
    summary.fields = {
        {"node_address", TextOrNull(driver.card.nodeAddress)},
        {"master_address", TextOrNull(driver.card.masterAddress)},
        {"cycles", int64_t{cycles}},
        {"nodes_heard", int64_t{run.Table().NodeCount()}},
    };
    return summary;
}

}  // namespace vz
