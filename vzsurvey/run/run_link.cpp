// link: the directed link test of the windows for a number of seconds, one record per
// half-second pass, and a summary with the averages, the loss and the jitter.
#include <string>

#include "engines/link_test.h"
#include "vzsurvey/output/utc_time.h"
#include "vzsurvey/run/commands.h"
#include "vzsurvey/run/pace.h"

namespace vz {

namespace {

Value Figure(bool has, int64_t value) {
    return has ? Value(value) : Value();
}

class LinkRun : private LinkView {
  public:
    LinkRun(ProgramContext& context, std::string target, int packetSize, OutputSink& sink,
            const RunHooks& hooks)
        : context_(context),
          link_(context, std::move(target), packetSize, *this),
          sink_(sink),
          hooks_(hooks) {}

    void Run(int seconds);
    Record Summary() const;

  private:
    void ShowOutOfRange(bool) override {}
    void ShowMaximumLatency(int64_t) override {}
    void ShowTargetFollowed(const char*, const char*) override {}
    void ShowPass(const LinkPass& pass) override;

    ProgramContext& context_;
    LinkTest link_;
    OutputSink& sink_;
    const RunHooks& hooks_;
    LinkPass last_;
    int64_t unsettled_ = 0;
};

void LinkRun::Run(int seconds) {
    Clock& clock = context_.clock;
    link_.Begin();
    const uint32_t start = clock.NowMs();
    while (clock.NowMs() - start < uint32_t(seconds) * 1000 && !hooks_.stopRequested()) {
        link_.Tick();
        hooks_.progress(std::to_string((clock.NowMs() - start) / 1000) + " s of " +
                        std::to_string(seconds));
        if (clock.NowMs() - start < uint32_t(seconds) * 1000) {
            clock.SleepMs(kRunTickMs);
        }
    }
    // A ping still awaited counts neither as echoed nor as lost.
    unsettled_ = link_.PingOutstanding() ? 1 : 0;
    // As the window leaves it: no ping left in flight.
    link_.Done();
}

void LinkRun::ShowPass(const LinkPass& pass) {
    last_ = pass;
    const LinkFigures& figures = pass.figures;
    Record record;
    record.fields = {
        {"time", UtcTimeText(hooks_.utcNowMs())},
        {"packets_per_second", Figure(figures.hasPackets, figures.packetsPerSecond)},
        {"bytes_per_second", Figure(figures.hasBytes, figures.bytesPerSecond)},
        {"latency_ms", Figure(figures.hasLatency, figures.latency)},
        {"latency_max_ms", link_.MaximumLatency()},
        {"latency_stddev_ms", figures.hasLatency ? Value(figures.deviation) : Value()},
        {"signal_percent", int64_t{figures.signalPercent}},
    };
    sink_.Record(record);
}

Record LinkRun::Summary() const {
    const LinkTotals& totals = link_.Totals();
    const int64_t settled = totals.pingsSent - unsettled_;
    const LinkFigures& figures = last_.figures;
    Record summary;
    summary.fields = {
        {"address", link_.Target()},
        {"packet_size_bytes", int64_t{link_.PacketSize()}},
        {"pings_sent", totals.pingsSent},
        {"echoes_received", totals.echoes},
        {"loss_percent",
         settled > 0 ? Value(100.0 * double(settled - totals.echoes) / double(settled)) : Value()},
        {"packets_per_second", Figure(figures.hasPackets, last_.averagePackets)},
        {"bytes_per_second", Figure(figures.hasBytes, last_.averageBytes)},
        {"latency_ms", Figure(figures.hasLatency, last_.averageLatency)},
        {"latency_max_ms", link_.MaximumLatency()},
        {"jitter_ms", totals.latencyChanges > 0
                          ? Value(double(totals.latencyChangeSumMs) / double(totals.latencyChanges))
                          : Value()},
        {"signal_percent", int64_t{figures.signalPercent}},
    };
    return summary;
}

}  // namespace

Record RunLink(ProgramContext& context, const LinkRequest& request, OutputSink& sink,
               const RunHooks& hooks) {
    Driver& driver = context.driver;
    AdoptCurrentMaster(context);
    // "master" names the card's own Master, which the test then follows as the window does.
    std::string target = request.address.value_or(driver.card.masterAddress);
    LinkRun run(context, std::move(target), request.packetSize.value_or(kDefaultPacketSize), sink,
                hooks);
    run.Run(request.seconds);
    return run.Summary();
}

}  // namespace vz
