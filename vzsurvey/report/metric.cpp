// Where each figure comes from in a walk's point.
#include "vzsurvey/report/metric.h"

namespace vz {

const MetricFacts& FactsOf(ReportMetric metric) {
    static constexpr MetricFacts kFacts[] = {
        {"signal", "Signal", "%", false},
        {"quality", "Link quality", "of 5", false},
        {"latency", "Latency", "ms", true},
    };
    return kFacts[static_cast<int>(metric)];
}

std::optional<double> ReadingOf(const WalkPoint& point, ReportMetric metric) {
    if (point.masterAddress.empty()) {
        return std::nullopt;
    }
    if (metric == ReportMetric::kLatency) {
        const bool toMaster =
            point.link && FieldValue(*point.link, "address") == Value(point.masterAddress);
        return toMaster ? NumberOf(FieldValue(*point.link, "latency_ms")) : std::nullopt;
    }
    for (const WalkNode& node : point.nodes) {
        if (node.address == point.masterAddress) {
            return metric == ReportMetric::kSignal ? node.signalPercent : node.linkQuality;
        }
    }
    return std::nullopt;
}

}  // namespace vz
