// The fields of every command, in the order they are printed.
#include "vzsurvey/output/layout.h"

#include <iterator>

namespace vz {
namespace {

constexpr int kAddressWidth = 12;
constexpr int kTimeWidth = 24;
constexpr int kNameWidth = 16;

// status: the card and its Master, all in the summary.
constexpr SummaryField kStatusSummary[] = {
    {"driver_version", 0, "The card driver's version text."},
    {"node_address", 0, "The card's own address."},
    {"rom_version", 0, "The card's ROM version text."},
    {"synchronised", 0, "1 when the card is synchronised to a Master."},
    {"master_address", 0, "The Master the card is synchronised to."},
    {"master_name", 0, "The name of that Master."},
    {"domain", 0, "The card's domain, 0 to 15."},
};

constexpr Column kMastersColumns[] = {
    {"address", "Address", kAddressWidth, Align::kLeft, 0},
    {"domain", "Domain", 6, Align::kRight, 0},
    {"channel", "Channel", 7, Align::kRight, 0},
    {"subchannel", "Subchannel", 10, Align::kRight, 0},
    {"name", "Name", kNameWidth, Align::kLeft, 0},
};
constexpr SummaryField kMastersSummary[] = {
    {"node_address", 0, "The card's own address."},
    {"domains_searched", 0, "Domains searched for Masters."},
    {"masters_found", 0, "Masters heard in those domains."},
};

constexpr Column kSurveyColumns[] = {
    {"cycle", "Cycle", 5, Align::kRight, 0},
    {"address", "Address", kAddressWidth, Align::kLeft, 0},
    {"master_name", "Master", kNameWidth, Align::kLeft, 0},
    {"link_quality", "Quality", 7, Align::kRight, 0},
    {"heard", "Heard", 5, Align::kLeft, 0},
    {"signal_percent", "Signal %", 8, Align::kRight, 0},
};
constexpr SummaryField kSurveySummary[] = {
    {"node_address", 0, "The card's own address."},
    {"master_address", 0, "The Master of the card's cell."},
    {"cycles", 0, "Broadcast cycles completed."},
    {"nodes_heard", 0, "Nodes that answered at least once."},
};

constexpr Column kLinkColumns[] = {
    {"time", "Time", kTimeWidth, Align::kLeft, 0},
    {"packets_per_second", "Packets/s", 9, Align::kRight, 1},
    {"bytes_per_second", "Bytes/s", 9, Align::kRight, 0},
    {"latency_ms", "Latency ms", 10, Align::kRight, 1},
    {"latency_max_ms", "Max ms", 6, Align::kRight, 0},
    {"latency_stddev_ms", "Stddev ms", 9, Align::kRight, 1},
    {"signal_percent", "Signal %", 8, Align::kRight, 0},
};
constexpr SummaryField kLinkSummary[] = {
    {"address", 0, "The node the link was tested to."},
    {"packet_size_bytes", 0, "Bytes in each directed ping."},
    {"pings_sent", 0, "Directed pings sent."},
    {"echoes_received", 0, "Echoes of them received."},
    {"loss_percent", 1, "Echoes lost, in percent of the pings sent."},
    {"packets_per_second", 1, "Packets per second received from the node over the run."},
    {"bytes_per_second", 0, "Bytes per second received from the node over the run."},
    {"latency_ms", 1, "Mean echo latency over the run, in milliseconds."},
    {"latency_max_ms", 0, "Longest echo latency of the run, in milliseconds."},
    {"jitter_ms", 1, "Mean absolute difference of successive latencies, in milliseconds."},
    {"signal_percent", 0, "Mean signal of the node's packets, in percent."},
};

constexpr Column kSnoopColumns[] = {
    {"sweep", "Sweep", 5, Align::kRight, 0},
    {"frequency_ghz", "GHz", 5, Align::kRight, 3},
    {"average_percent", "Average %", 9, Align::kRight, 0},
    {"peak_hold_percent", "Peak hold %", 11, Align::kRight, 0},
    {"minimum_hold_percent", "Minimum hold %", 14, Align::kRight, 0},
};
constexpr SummaryField kSnoopSummary[] = {
    {"node_address", 0, "The card's own address."},
    {"sweeps", 0, "Sweeps of the band completed."},
    {"peak_frequency_ghz", 3, "The frequency of the highest peak hold, in GHz."},
    {"peak_hold_percent", 0, "The highest peak hold of the band, in percent."},
    {"average_percent", 1, "The mean of the band's averages, in percent."},
};

// record: no records; the summary is the point as it went into the walk file.
constexpr SummaryField kRecordSummary[] = {
    {"label", 0, "What the point is called on the plan."},
    {"x", 2, "The point's position across the plan, in the plan's pixels."},
    {"y", 2, "The point's position down the plan, in the plan's pixels."},
    {"master_address", 0, "The Master the card was synchronised to at the point."},
    {"master_name", 0, "The name of that Master."},
    {"nodes_heard", 0, "Nodes that answered at least once at the point."},
};

constexpr CommandLayout kLayouts[] = {
    {{}, kStatusSummary, "node_address"},
    {kMastersColumns, kMastersSummary, "node_address"},
    {kSurveyColumns, kSurveySummary, "node_address"},
    {kLinkColumns, kLinkSummary, "address"},
    {kSnoopColumns, kSnoopSummary, "node_address"},
    {{}, kRecordSummary, "master_address"},
    {{}, {}, ""},  // report: writes a page, prints no figures
};

static_assert(std::size(kLayouts) == static_cast<int>(SurveyCommand::kReport) + 1);

}  // namespace

const CommandLayout& LayoutOf(SurveyCommand command) {
    return kLayouts[static_cast<int>(command)];
}

int SummaryDecimals(SurveyCommand command, std::string_view name) {
    for (const SummaryField& field : LayoutOf(command).summary) {
        if (field.name == name) {
            return field.decimals;
        }
    }
    return 0;
}

}  // namespace vz
