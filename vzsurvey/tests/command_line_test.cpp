// Command lines and the request each gives, or the mistake it is refused for.
#include <gtest/gtest.h>

#include "vzsurvey/command_line/parse_command_line.h"
#include "vzsurvey/tests/command_words.h"

namespace vz {
namespace {

TEST(CommandLine, AcceptedLinesGiveTheirRequest) {
    using enum SurveyCommand;
    using enum OutputFormat;
    using Edit = void (*)(Request&);
    const std::pair<std::string, Edit> kCases[] = {
        {"status", [](Request&) {}},
        {"status --nagios --prometheus /tmp/vz.prom",
         [](Request& r) { r.format = kNagios, r.prometheusFile = "/tmp/vz.prom"; }},
        {"masters --all --csv", [](Request& r) { r.command = kMasters, r.format = kCsv; }},
        {"masters --domain 15 --seconds 86400",
         [](Request& r) {
             r.command = kMasters, r.masters = {15, 86400};
         }},
        {"masters --domain 0 --jsonl",
         [](Request& r) { r.command = kMasters, r.format = kJsonl, r.masters.domain = 0; }},
        {"survey --cycles 1 --sort address --min-nodes 4",
         [](Request& r) {
             r.command = kSurvey, r.survey = {1, SurveyOrder::kAddress, 4};
         }},
        {"link master", [](Request& r) { r.command = kLink; }},
        {"link 00A0D4010001 --size 60 --seconds 1 --json",
         [](Request& r) {
             r.command = kLink, r.format = kJson, r.link.address = "00a0d4010001";
             r.link.seconds = 1, r.link.packetSize = 60;
         }},
        {"link 00a0d4010001 --size 1500 --warn-latency-ms 20.5 --crit-latency-ms 50 "
         "--warn-loss-percent 0 --crit-loss-percent 100",
         [](Request& r) {
             r.command = kLink, r.link = {"00a0d4010001", 10, 1500, 20.5, 50, 0, 100};
         }},
        {"snoop", [](Request& r) { r.command = kSnoop; }},
        {"snoop --rate fast --sweeps 3",
         [](Request& r) {
             r.command = kSnoop, r.snoop = {SnoopRate::kFast, 3};
         }},
        {"record --at 0,0 --out w.jsonl",
         [](Request& r) { r.command = kRecord, r.record.out = "w.jsonl"; }},
        {"record --at 120.5,80 --label Hall --cycles 1 --link 00A0D4010001 --snoop --out w --json",
         [](Request& r) {
             r.command = kRecord, r.format = kJson;
             r.record = {120.5, 80, "Hall", 1, "00a0d4010001", true, "w"};
         }},
        {"record --at 3,4 --link master --out w",
         [](Request& r) { r.command = kRecord, r.record = {3, 4, "", 3, "master", false, "w"}; }},
        {"report w.jsonl --out r.html",
         [](Request& r) {
             r.command = kReport, r.report = {"w.jsonl", {}, {}, {}, "r.html"};
         }},
        {"report w --plan p.png --metric latency --threshold 20.5 --out r",
         [](Request& r) {
             r.command = kReport, r.report = {"w", "p.png", ReportMetric::kLatency, 20.5, "r"};
         }},
    };
    for (const auto& [line, edit] : kCases) {
        Request expected;
        edit(expected);
        const auto parsed = ParseCommandLine(Words(line));
        ASSERT_TRUE(std::holds_alternative<Request>(parsed))
            << line << ": " << std::get<CommandLineExit>(parsed).text;
        EXPECT_TRUE(std::get<Request>(parsed) == expected) << line;
    }
}

TEST(CommandLine, MistakesAreUnknownWithTheReasonAndAUsageLine) {
    const std::string kLines[] = {"",
                                  "scan",
                                  "status --verbose",
                                  "status --csv --json",
                                  "status --prometheus",
                                  "masters --all --domain 3",
                                  "masters --domain 16",
                                  "masters --domain -1",
                                  "masters --domain 0x3",
                                  "masters --seconds 5",
                                  "masters --domain 3 --seconds 0",
                                  "survey --cycles 0",
                                  "survey --sort name",
                                  "survey --min-nodes 0",
                                  "link",
                                  "link 00a0d401000",
                                  "link 00a0d40100011",
                                  "link 00a0d401000g",
                                  "link master --size 59",
                                  "link master --size 1501",
                                  "link master --seconds 010x",
                                  "link master --crit-loss-percent 100.5",
                                  "link master --warn-latency-ms nan",
                                  "link master --warn-latency-ms 1e3",
                                  "link master extra",
                                  "snoop --rate turbo",
                                  "snoop --sweeps 0",
                                  "snoop --sweeps 1000001",
                                  "link 00a0d4010001 --min-nodes 3",
                                  "record --out w",
                                  "record --at 1,2",
                                  "record --at 1 --out w",
                                  "record --at -1,2 --out w",
                                  "record --at 1,2,3 --out w",
                                  "record --at 1,1e3 --out w",
                                  "record --at ,2 --out w",
                                  "record --at 1,2 --cycles 0 --out w",
                                  "record --at 1,2 --link 00a0d40100 --out w",
                                  "record --at 1,2 --out w --label " + std::string(201, 'a'),
                                  "report --out r",
                                  "report w",
                                  "report w --out r --metric noise",
                                  "report w --out r --threshold -5",
                                  "report w --out r --csv"};
    for (const std::string& line : kLines) {
        const auto parsed = ParseCommandLine(Words(line));
        ASSERT_TRUE(std::holds_alternative<CommandLineExit>(parsed)) << line;
        const CommandLineExit& exit = std::get<CommandLineExit>(parsed);
        EXPECT_EQ(exit.status, Verdict::kUnknown) << line;
        EXPECT_EQ(exit.text.rfind("vzsurvey: ", 0), 0u) << exit.text;
        EXPECT_NE(exit.text.find("\nusage: vzsurvey "), std::string::npos) << exit.text;
    }
}

TEST(CommandLine, HelpAndVersionGoToStandardOutputWithOk) {
    const std::pair<const char*, const char*> kCases[] = {
        {"--version", "vzsurvey 1.0.0"},
        {"--help", "Exit status: 0 OK, 1 WARNING, 2 CRITICAL, 3 UNKNOWN."},
        {"link --help", "--crit-loss-percent"}};
    for (const auto& [line, shown] : kCases) {
        const auto parsed = ParseCommandLine(Words(line));
        ASSERT_TRUE(std::holds_alternative<CommandLineExit>(parsed)) << line;
        EXPECT_EQ(std::get<CommandLineExit>(parsed).status, Verdict::kOk) << line;
        EXPECT_NE(std::get<CommandLineExit>(parsed).text.find(shown), std::string::npos) << line;
    }
}

TEST(CommandLine, TheUsageLineIsTheCommandsOwn) {
    const std::pair<const char*, const char*> kCases[] = {
        {"link master --size 2000", "usage: vzsurvey link ADDRESS|master [--seconds N]"},
        {"record --at 1", "usage: vzsurvey record --at X,Y [--label TEXT]"},
        {"report w --out r --json",
         "usage: vzsurvey report WALK.jsonl [--plan PLAN.png|.jpg|.bmp] [--metric "
         "signal|quality|latency] [--threshold N] --out REPORT.html\n"}};
    for (const auto& [line, usage] : kCases) {
        const std::string text = std::get<CommandLineExit>(ParseCommandLine(Words(line))).text;
        EXPECT_NE(text.find(usage), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace vz
