// Each command's plugin text and perfdata, and the line built from them.
#include "vzsurvey/monitoring/nagios_line.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "vzsurvey/output/layout.h"
#include "vzsurvey/output/shown_value.h"

namespace vz {
namespace {

// One "label value unit" of the text.
struct TextPart {
    std::string_view label;
    std::string_view field;
    std::string_view unit;
};

struct PerfField {
    std::string_view field;
    std::optional<int> maximum;
};

struct PluginView {
    std::span<const TextPart> text;
    std::span<const PerfField> perfdata;
};

constexpr int kDomains = 16;
// Thresholds come from the command line as plain numbers; more places than this are noise.
constexpr int kThresholdDecimals = 3;
constexpr int kPercentMax = 100;

constexpr TextPart kStatusText[] = {
    {"synchronised", "synchronised", ""}, {"master", "master_name", ""}, {"domain", "domain", ""}};
constexpr PerfField kStatusPerf[] = {{"synchronised", 1}};

constexpr TextPart kMastersText[] = {{"masters", "masters_found", ""},
                                     {"domains", "domains_searched", ""}};
constexpr PerfField kMastersPerf[] = {{"masters_found", std::nullopt},
                                      {"domains_searched", kDomains}};

constexpr TextPart kSurveyText[] = {{"nodes heard", "nodes_heard", ""}, {"cycles", "cycles", ""}};
constexpr PerfField kSurveyPerf[] = {{"nodes_heard", std::nullopt}, {"cycles", std::nullopt}};

constexpr TextPart kLinkText[] = {{"latency", "latency_ms", " ms"},
                                  {"loss", "loss_percent", " %"},
                                  {"jitter", "jitter_ms", " ms"}};
constexpr PerfField kLinkPerf[] = {{"latency_ms", std::nullopt},
                                   {"loss_percent", kPercentMax},
                                   {"jitter_ms", std::nullopt},
                                   {"signal_percent", kPercentMax}};

constexpr TextPart kSnoopText[] = {{"peak", "peak_hold_percent", " %"},
                                   {"peak frequency", "peak_frequency_ghz", " GHz"},
                                   {"average", "average_percent", " %"}};
constexpr PerfField kSnoopPerf[] = {
    {"peak_hold_percent", kPercentMax}, {"average_percent", kPercentMax}, {"sweeps", std::nullopt}};

constexpr PluginView kViews[] = {{kStatusText, kStatusPerf},
                                 {kMastersText, kMastersPerf},
                                 {kSurveyText, kSurveyPerf},
                                 {kLinkText, kLinkPerf},
                                 {kSnoopText, kSnoopPerf}};

// A text or figure for the text part; none when it is missing.
std::optional<std::string> PartText(const Value& value, int decimals) {
    if (const bool* flag = std::get_if<bool>(&value)) {
        return *flag ? "yes" : "no";
    }
    if (const std::string* text = std::get_if<std::string>(&value)) {
        // A '|' would start the perfdata.
        std::string printable = PrintableText(*text);
        std::replace(printable.begin(), printable.end(), '|', '/');
        return printable;
    }
    if (const std::optional<double> figure = NumberOf(value)) {
        return ShortNumberText(*figure, decimals);
    }
    return std::nullopt;
}

std::string RangeText(const std::optional<Limit>& limit) {
    if (!limit) {
        return "";
    }
    const std::string value = ShortNumberText(limit->value, kThresholdDecimals);
    return limit->side == Limit::Side::kAbove ? value : value + ":";
}

std::string PerfdataItem(const PerfField& perf, const Record& summary, int decimals,
                         std::span<const Rule> rules) {
    const auto rule = std::find_if(rules.begin(), rules.end(),
                                   [&perf](const Rule& r) { return r.field == perf.field; });
    const std::optional<double> figure = NumberOf(FieldValue(summary, perf.field));
    std::vector<std::string> parts = {figure ? ShortNumberText(*figure, decimals) : "U",
                                      rule != rules.end() ? RangeText(rule->warning) : "",
                                      rule != rules.end() ? RangeText(rule->critical) : "", "0",
                                      perf.maximum ? std::to_string(*perf.maximum) : ""};
    while (parts.back().empty()) {
        parts.pop_back();
    }
    std::string item = std::string(perf.field) + "=";
    for (size_t i = 0; i < parts.size(); ++i) {
        item += (i > 0 ? ";" : "") + parts[i];
    }
    return item;
}

}  // namespace

std::string NagiosLine(SurveyCommand command, std::span<const Rule> rules, const Record& summary) {
    const PluginView& view = kViews[static_cast<int>(command)];
    std::string service(CommandName(command));
    std::transform(service.begin(), service.end(), service.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });

    std::string line = "VZSURVEY " + service + " " +
                       std::string(VerdictName(Judge(command, rules, summary))) + " - ";
    for (size_t i = 0; i < view.text.size(); ++i) {
        const TextPart& part = view.text[i];
        const std::optional<std::string> value =
            PartText(FieldValue(summary, part.field), SummaryDecimals(command, part.field));
        line += (i > 0 ? ", " : "") + std::string(part.label) + " " +
                (value ? *value + std::string(part.unit) : "unknown");
    }
    line += " |";
    for (const PerfField& perf : view.perfdata) {
        line += " " + PerfdataItem(perf, summary, SummaryDecimals(command, perf.field), rules);
    }
    return line;
}

void NagiosSink::End(const vz::Record& summary, std::int64_t endedMs) {
    out_ << NagiosLine(command_, rules_, summary) << '\n' << std::flush;
}

}  // namespace vz
