// Every output format of a run of each command against the files checked in under golden/. With
// VZ_UPDATE_GOLDEN=1 in the environment the test writes the files instead (then read the diff).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "vzsurvey/command_line/parse_command_line.h"
#include "vzsurvey/make_sink.h"
#include "vzsurvey/monitoring/prometheus_text.h"

namespace vz {
namespace {

constexpr std::int64_t kStarted = 1796632200000;  // 2026-12-07T08:30:00Z
constexpr std::int64_t kEnded = kStarted + 10250;
using Int = std::int64_t;

struct SurveyRun {
    std::string name;
    std::vector<std::string> commandLine;
    std::vector<Record> records;
    Record summary;
};

const SurveyRun kRuns[] = {
    {"link",
     {"link", "00a0d4100002", "--warn-latency-ms", "20", "--crit-latency-ms", "50",
      "--warn-loss-percent", "5", "--crit-loss-percent", "20"},
     {{{{"time", "2026-12-07T08:30:00.500Z"},
        {"packets_per_second", 0.1 + 0.2},
        {"bytes_per_second", Int{9875}},
        {"latency_ms", 7.25},
        {"latency_max_ms", Int{21}},
        {"latency_stddev_ms", -0.04},
        {"signal_percent", Int{82}}}},
      {{{"time", "2026-12-07T08:30:01.000Z"},
        {"packets_per_second", 12345678.96},
        {"bytes_per_second", Int{0}},
        {"latency_ms", std::monostate{}},
        {"latency_stddev_ms", 1.0 / 0.0},
        {"signal_percent", Int{0}}}}},
     {{{"address", "00a0d4100002"},
       {"packet_size_bytes", Int{500}},
       {"pings_sent", Int{40}},
       {"echoes_received", Int{38}},
       {"loss_percent", 5.0},
       {"packets_per_second", 19.75},
       {"bytes_per_second", 9875.4},
       {"latency_ms", 27.25},
       {"latency_max_ms", Int{61}},
       {"jitter_ms", 1.5},
       {"signal_percent", Int{82}}}}},
    {"survey",
     {"survey", "--min-nodes", "3"},
     {{{{"cycle", Int{1}},
        {"address", "00a0d4010001"},
        {"master_name", "Hall \"A\", 2nd\nfloor|x"},
        {"link_quality", Int{5}},
        {"heard", true},
        {"signal_percent", Int{90}}}},
      {{{"cycle", Int{1}},
        {"address", "00a0d4100002"},
        {"link_quality", Int{0}},
        {"heard", false},
        {"signal_percent", std::monostate{}}}},
      {{{"cycle", Int{2}},
        {"address", "00a0d4100003"},
        {"master_name", "Caf\xe9\r\x01"},
        {"link_quality", Int{3}},
        {"heard", true},
        {"signal_percent", Int{40}}}}},
     {{{"node_address", "00a0d4000009"},
       {"master_address", "00a0d4010001"},
       {"cycles", Int{2}},
       {"nodes_heard", Int{2}}}}},
    {"status",
     {"status"},
     {},
     {{{"driver_version", "V1.2.4"},
       {"node_address", "00a0d4\"9\\\n"},
       {"rom_version", "V1.49b\n"},
       {"synchronised", true},
       {"master_name", "Main|hall"},
       {"domain", Int{3}}}}},
    {"masters",
     {"masters"},
     {{{{"address", "00a0d4010001"},
        {"domain", Int{3}},
        {"channel", Int{12}},
        {"subchannel", Int{2}},
        {"name", "Main"}}}},
     {{{"node_address", "00a0d4000009"},
       {"domains_searched", Int{16}},
       {"masters_found", Int{1}}}}},
    {"snoop",
     {"snoop"},
     {{{{"sweep", Int{1}},
        {"frequency_ghz", 2.4415},
        {"average_percent", Int{12}},
        {"peak_hold_percent", Int{63}},
        {"minimum_hold_percent", Int{3}}}}},
     {{{"node_address", "00a0d4000009"},
       {"sweeps", Int{1}},
       {"peak_frequency_ghz", 2.4415},
       {"peak_hold_percent", Int{63}},
       {"average_percent", 12.45}}}},
};

const std::pair<std::string, OutputFormat> kFormats[] = {{"table", OutputFormat::kTable},
                                                         {"csv", OutputFormat::kCsv},
                                                         {"json", OutputFormat::kJson},
                                                         {"jsonl", OutputFormat::kJsonl},
                                                         {"nagios", OutputFormat::kNagios}};

std::string GoldenPath(const std::string& file) {
    const char* dir = std::getenv("VZ_SOURCE_DIR");
    return std::string(dir ? dir : ".") + "/vzsurvey/tests/golden/" + file;
}

void ExpectGolden(const std::string& file, const std::string& output) {
    if (std::getenv("VZ_UPDATE_GOLDEN")) {
        std::ofstream(GoldenPath(file), std::ios::binary) << output;
    }
    std::ifstream in(GoldenPath(file), std::ios::binary);
    ASSERT_TRUE(in) << GoldenPath(file);
    std::ostringstream golden;
    golden << in.rdbuf();
    EXPECT_EQ(output, golden.str()) << file;
}

TEST(GoldenOutput, EveryFormatOfEveryRun) {
    for (const SurveyRun& run : kRuns) {
        auto parsed = ParseCommandLine(run.commandLine);
        ASSERT_TRUE(std::holds_alternative<Request>(parsed)) << run.name;
        Request request = std::get<Request>(parsed);
        for (const auto& [extension, format] : kFormats) {
            request.format = format;
            std::ostringstream out;
            const auto sink = MakeSink(request, out);
            sink->Begin(request.command, kStarted);
            for (const Record& record : run.records) {
                sink->Record(record);
            }
            sink->End(run.summary, kEnded);
            ExpectGolden(run.name + "." + extension, out.str());
        }
        ExpectGolden(run.name + ".prom", PrometheusText(request.command, run.summary));
    }
}

}  // namespace
}  // namespace vz
