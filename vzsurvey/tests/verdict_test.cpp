// The verdicts of each command's thresholds, at and just past their limits.
#include <gtest/gtest.h>

#include <limits>

#include "vzsurvey/command_line/parse_command_line.h"
#include "vzsurvey/monitoring/rules.h"
#include "vzsurvey/tests/command_words.h"

namespace vz {
namespace {

struct Case {
    const char* commandLine;
    Record summary;
    Verdict verdict;
};

constexpr char kLink[] =
    "link master --warn-latency-ms 20 --crit-latency-ms 50 --warn-loss-percent 5 "
    "--crit-loss-percent 20";
using enum Verdict;

Record Link(Value latency, Value loss) {
    return {{{"latency_ms", std::move(latency)}, {"loss_percent", std::move(loss)}}};
}

TEST(Verdict, ThresholdsAtTheirBounds) {
    const Case kCases[] = {
        {kLink, Link(20.0, 0.0), kOk},
        {kLink, Link(20.04, 5.0), kOk},  // shown as 20.0 and 5.0
        {kLink, Link(20.1, 0.0), kWarning},
        {kLink, Link(50.0, 5.1), kWarning},
        {kLink, Link(50.1, 0.0), kCritical},
        {kLink, Link(0.0, 20.1), kCritical},
        {kLink, Link(std::int64_t{51}, 0.0), kCritical},
        {kLink, Link({}, 0.0), kUnknown},
        {kLink, Link({}, 10.0), kWarning},
        {kLink, Link({}, 100.0), kCritical},
        {kLink, Link(std::numeric_limits<double>::quiet_NaN(), 0.0), kUnknown},
        {"link master --crit-latency-ms 50", Link(49.0, 100.0), kOk},
        {"link master --warn-loss-percent 0", Link(500.0, 0.1), kWarning},
        {"link master", Link({}, {}), kOk},
        {"survey --min-nodes 3", {{{"nodes_heard", std::int64_t{3}}}}, kOk},
        {"survey --min-nodes 3", {{{"nodes_heard", std::int64_t{2}}}}, kCritical},
        {"survey --min-nodes 3", {}, kUnknown},
        {"survey", {{{"nodes_heard", std::int64_t{0}}}}, kOk},
        {"status", {{{"synchronised", true}}}, kOk},
        {"status", {{{"synchronised", false}}}, kCritical},
        {"status", {{{"synchronised", "yes"}}}, kUnknown},
        {"masters", {}, kOk},
        {"snoop", {}, kOk},
    };
    for (const Case& c : kCases) {
        const Request request = std::get<Request>(ParseCommandLine(Words(c.commandLine)));
        EXPECT_EQ(Judge(request.command, RulesFor(request), c.summary), c.verdict)
            << c.commandLine << " #" << (&c - kCases);
    }
}

}  // namespace
}  // namespace vz
