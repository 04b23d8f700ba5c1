// snoop: the spectrum sweep of the windows, the whole band a number of times, one record per
// frequency and sweep with its average and the holds since the first sweep.
#include <string>

#include "engines/spectrum_sweep.h"
#include "vzsurvey/run/commands.h"
#include "vzsurvey/run/pace.h"

namespace vz {

namespace {

SpectrumSweep::Rate RateOf(SnoopRate rate) {
    switch (rate) {
        case SnoopRate::kSlow:
            return SpectrumSweep::kSlow;
        case SnoopRate::kFast:
            return SpectrumSweep::kFast;
        case SnoopRate::kMedium:
            break;
    }
    return SpectrumSweep::kMedium;
}

double Mean(const FrequencyHold& hold) {
    return hold.count > 0 ? double(hold.sum) / double(hold.count) : 0.0;
}

}  // namespace

Record RunSnoop(ProgramContext& context, const SnoopRequest& request, OutputSink& sink,
                const RunHooks& hooks) {
    SpectrumSweep sweep(context);
    sweep.Begin();
    const int points = sweep.Plan().points;
    int sweeps = 0;
    while (sweeps < request.sweeps && !hooks.stopRequested()) {
        for (int position = 0; position < points && !hooks.stopRequested();) {
            // A lost channel is reopened on the next tick, as in the window.
            if (!sweep.Ready()) {
                context.clock.SleepMs(kRunTickMs);
                continue;
            }
            if (!sweep.Dwell(position, RateOf(request.rate), hooks.stopRequested)) {
                break;
            }
            const FrequencyHold& hold = sweep.Holds()[position];
            Record record;
            record.fields = {
                {"sweep", int64_t{sweeps + 1}},
                {"frequency_ghz", FrequencyGhz(sweep.Plan(), position)},
                {"average_percent", hold.count > 0 ? Value(Mean(hold)) : Value()},
                {"peak_hold_percent", hold.count > 0 ? Value(int64_t{hold.peak}) : Value()},
                {"minimum_hold_percent", hold.count > 0 ? Value(int64_t{hold.minimum}) : Value()},
            };
            sink.Record(record);
            ++position;
        }
        if (hooks.stopRequested()) {
            break;
        }
        ++sweeps;
        hooks.progress("sweep " + std::to_string(sweeps) + " of " + std::to_string(request.sweeps));
    }

    int peakPosition = -1;
    double averageSum = 0;
    int averaged = 0;
    for (int position = 0; position < points; ++position) {
        const FrequencyHold& hold = sweep.Holds()[position];
        if (hold.count == 0) {
            continue;
        }
        averageSum += Mean(hold);
        ++averaged;
        if (peakPosition < 0 || hold.peak > sweep.Holds()[peakPosition].peak) {
            peakPosition = position;
        }
    }
    Record summary;
    summary.fields = {
        {"node_address", TextOrNull(context.driver.card.nodeAddress)},
        {"sweeps", int64_t{sweeps}},
        {"peak_frequency_ghz",
         peakPosition >= 0 ? Value(FrequencyGhz(sweep.Plan(), peakPosition)) : Value()},
        {"peak_hold_percent",
         peakPosition >= 0 ? Value(int64_t{sweep.Holds()[peakPosition].peak}) : Value()},
        {"average_percent", averaged > 0 ? Value(averageSum / averaged) : Value()},
    };
    return summary;
}

}  // namespace vz
