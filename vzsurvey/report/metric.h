// The figures a heatmap can show, and each point's reading of them.
#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "vzsurvey/command_line/request.h"
#include "vzsurvey/walk/walk_file.h"

namespace vz {

constexpr std::array<ReportMetric, 3> kReportMetrics = {
    ReportMetric::kSignal, ReportMetric::kQuality, ReportMetric::kLatency};

struct MetricFacts {
    std::string_view name;   // as --metric takes it
    std::string_view title;  // as the page shows it
    std::string_view unit;
    bool lowerIsBetter;
};

const MetricFacts& FactsOf(ReportMetric metric);

// The point's reading for the Master it was synchronised to: that node's signal or link quality
// from the survey, or the link test's latency when the link was tested to that Master. None when
// the point has no such reading.
std::optional<double> ReadingOf(const WalkPoint& point, ReportMetric metric);

}  // namespace vz
