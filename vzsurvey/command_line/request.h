// What the command line asks for, after validation: the command, its settings and the output.
#pragma once

#include <optional>
#include <string>

#include "vzsurvey/command.h"

namespace vz {

enum class OutputFormat { kTable, kCsv, kJson, kJsonl, kNagios };
enum class SurveyOrder { kArrival, kAddress };
enum class SnoopRate { kSlow, kMedium, kFast };

struct MastersRequest {
    std::optional<int> domain;  // none: sweep the sixteen domains once
    int seconds = 3;            // how long to listen to the one domain
    bool operator==(const MastersRequest&) const = default;
};

struct SurveyRequest {
    int cycles = 10;
    SurveyOrder order = SurveyOrder::kArrival;
    std::optional<int> minNodes;  // fewer nodes heard is CRITICAL
    bool operator==(const SurveyRequest&) const = default;
};

struct LinkRequest {
    std::optional<std::string> address;  // 12 lower-case hex digits; none: the card's Master
    int seconds = 10;
    std::optional<int> packetSize;  // none: the link test's remembered size
    std::optional<double> warnLatencyMs;
    std::optional<double> critLatencyMs;
    std::optional<double> warnLossPercent;
    std::optional<double> critLossPercent;
    bool operator==(const LinkRequest&) const = default;
};

struct SnoopRequest {
    SnoopRate rate = SnoopRate::kMedium;
    int sweeps = 1;
    bool operator==(const SnoopRequest&) const = default;
};

// One point of a walk: where it is on the plan and what is measured there.
struct RecordRequest {
    double x = 0;  // on the plan, in its pixels
    double y = 0;
    std::string label;
    int cycles = 3;                   // survey cycles
    std::optional<std::string> link;  // 12 lower-case hex digits, or "master"; none: no link test
    bool snoop = false;               // also one spectrum sweep
    std::string out;                  // the walk file
    bool operator==(const RecordRequest&) const = default;
};

enum class ReportMetric { kSignal, kQuality, kLatency };

struct ReportRequest {
    std::string walk;
    std::optional<std::string> plan;  // PNG, JPEG or BMP; none: the points on a plain grid
    ReportMetric metric = ReportMetric::kSignal;
    std::optional<double> threshold;  // readings worse than it are greyed
    std::string out;                  // the page
    bool operator==(const ReportRequest&) const = default;
};

// Only the member of `command` is read; the others keep their defaults.
struct Request {
    SurveyCommand command = SurveyCommand::kStatus;
    OutputFormat format = OutputFormat::kTable;
    std::optional<std::string> prometheusFile;
    MastersRequest masters;
    SurveyRequest survey;
    LinkRequest link;
    SnoopRequest snoop;
    RecordRequest record;
    ReportRequest report;
    bool operator==(const Request&) const = default;
};

}  // namespace vz
