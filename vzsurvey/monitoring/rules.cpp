// The rules of each command and judging a summary by them.
#include "vzsurvey/monitoring/rules.h"

#include "vzsurvey/output/layout.h"
#include "vzsurvey/output/shown_value.h"

namespace vz {
namespace {

std::optional<Limit> Above(const std::optional<double>& value) {
    if (!value) {
        return std::nullopt;
    }
    return Limit{Limit::Side::kAbove, *value};
}

bool IsPast(const std::optional<Limit>& limit, double figure) {
    if (!limit) {
        return false;
    }
    return limit->side == Limit::Side::kAbove ? figure > limit->value : figure < limit->value;
}

Verdict JudgeOne(SurveyCommand command, const Rule& rule, const Record& summary) {
    const std::optional<double> figure =
        NumberOf(ShownValue(FieldValue(summary, rule.field), SummaryDecimals(command, rule.field)));
    if (!figure) {
        return Verdict::kUnknown;
    }
    if (IsPast(rule.critical, *figure)) {
        return Verdict::kCritical;
    }
    if (IsPast(rule.warning, *figure)) {
        return Verdict::kWarning;
    }
    return Verdict::kOk;
}

}  // namespace

std::vector<Rule> RulesFor(const Request& request) {
    switch (request.command) {
        case SurveyCommand::kStatus:
            return {{"synchronised", std::nullopt, Limit{Limit::Side::kBelow, 1}}};
        case SurveyCommand::kSurvey:
            if (!request.survey.minNodes) {
                return {};
            }
            return {{"nodes_heard", std::nullopt,
                     Limit{Limit::Side::kBelow, static_cast<double>(*request.survey.minNodes)}}};
        case SurveyCommand::kLink: {
            const LinkRequest& link = request.link;
            std::vector<Rule> rules;
            if (link.warnLatencyMs || link.critLatencyMs) {
                rules.push_back(
                    {"latency_ms", Above(link.warnLatencyMs), Above(link.critLatencyMs)});
            }
            if (link.warnLossPercent || link.critLossPercent) {
                rules.push_back(
                    {"loss_percent", Above(link.warnLossPercent), Above(link.critLossPercent)});
            }
            return rules;
        }
        case SurveyCommand::kMasters:
        case SurveyCommand::kSnoop:
        case SurveyCommand::kRecord:
        case SurveyCommand::kReport:
            return {};
    }
    return {};
}

Verdict Judge(SurveyCommand command, std::span<const Rule> rules, const Record& summary) {
    Verdict verdict = Verdict::kOk;
    for (const Rule& rule : rules) {
        verdict = Worse(verdict, JudgeOne(command, rule, summary));
    }
    return verdict;
}

}  // namespace vz
