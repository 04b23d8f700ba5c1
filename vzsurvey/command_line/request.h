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

// Only the member of `command` is read; the others keep their defaults.
struct Request {
    SurveyCommand command = SurveyCommand::kStatus;
    OutputFormat format = OutputFormat::kTable;
    std::optional<std::string> prometheusFile;
    MastersRequest masters;
    SurveyRequest survey;
    LinkRequest link;
    SnoopRequest snoop;
    bool operator==(const Request&) const = default;
};

}  // namespace vz
