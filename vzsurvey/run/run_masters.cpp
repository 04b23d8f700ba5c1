// masters: the Master search of the windows, once round the sixteen domains or on one for a time.
#include <algorithm>
#include <string>

#include "driver/card_control.h"
#include "engines/master_search.h"
#include "vzsurvey/run/commands.h"
#include "vzsurvey/run/pace.h"

namespace vz {

namespace {

Record MasterFields(const MasterRecord& master) {
    Record record;
    record.fields = {
        {"address", master.address},
        {"domain", int64_t{master.domain}},
        {"channel", int64_t{master.channel}},
        {"subchannel", int64_t{master.subchannel}},
        {"name", master.name},
    };
    return record;
}

}  // namespace

Record RunMasters(ProgramContext& context, const MastersRequest& request, OutputSink& sink,
                  const RunHooks& hooks) {
    Clock& clock = context.clock;
    const Configured configured = ReadConfiguration(context);
    const bool sweep = !request.domain.has_value();
    MasterSearch search(context, configured.stationType, configured.domain,
                        sweep ? MasterSearch::Mode::kAll : MasterSearch::Mode::kOne);
    search.Begin();
    if (!sweep) {
        search.SearchDomain(*request.domain);
    }
    // Round the domains: until the sixteenth step has been listened to for a whole step.
    // One domain: for the seconds asked, from the start.
    const uint32_t start = clock.NowMs();
    uint32_t lastStep = start;
    int domainsSearched = 0;
    int64_t found = 0;
    for (;;) {
        // Checked before the tick, which would otherwise take the next step.
        const bool done = sweep ? search.Steps() >= MasterSearch::kDomainCount &&
                                      clock.NowMs() - lastStep >= MasterSearch::kDomainStepMs
                                : clock.NowMs() - start >= uint32_t(request.seconds) * 1000;
        if (done || hooks.stopRequested()) {
            break;
        }
        const uint32_t tickStart = clock.NowMs();
        const MasterSearch::Tick tick = search.Step();
        if (tick.listed != nullptr && (sweep || tick.listed->domain == *request.domain)) {
            sink.Record(MasterFields(*tick.listed));
            ++found;
        }
        if (tick.stepped) {
            lastStep = clock.NowMs();
            domainsSearched = std::min(search.Steps(), MasterSearch::kDomainCount);
            hooks.progress("domain " + std::to_string(search.CurrentDomain()));
        }
        AwaitNextTick(clock, tickStart);
    }
    // As the windows leave it: the search stopped and the card's role given back; then the card
    // is initialised again to find its own Master, as the tool does after the Master list.
    search.Pause();
    search.End();
    uint8_t syncState = 0;
    InitCard(context.driver, syncState, 0, 0);

    Record summary;
    summary.fields = {
        {"node_address", TextOrNull(context.driver.card.nodeAddress)},
        {"domains_searched", int64_t{sweep ? domainsSearched : 1}},
        {"masters_found", found},
    };
    return summary;
}

}  // namespace vz
