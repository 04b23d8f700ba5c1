// The walk file: points appended and read back, and the lines the reader refuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "vzsurvey/walk/walk_file.h"
#include "vzsurvey/walk/walk_json.h"

namespace vz {
namespace {

constexpr char kHeaderLine[] =
    R"({"type":"walk","version":"1.0.0","started":"2026-12-07T08:30:00.000Z","card":{}})";
constexpr char kPointLine[] =
    R"({"type":"point","x":10,"y":20.5,"label":"Hall","time":"2026-12-07T08:31:00.000Z",)"
    R"("master_address":"00a0d4010001","master_name":"Main","nodes":[{"address":"00a0d4010001",)"
    R"("master_name":"Main","signal_percent":82,"link_quality":5,"heard":true}],"link":null,)"
    R"("spectrum":null})";

WalkPoint SamplePoint(const std::string& label) {
    return {12.5,
            40,
            label,
            "2026-12-07T08:31:00.000Z",
            "00a0d4010001",
            "Main",
            {{"00a0d4010001", "Main", 82, 5, true}, {"00a0d4100002", "", 40, 2, false}},
            Record{{{"address", std::string("00a0d4010001")}, {"latency_ms", 7.3}}},
            WalkSpectrum{{2.402, 2.403}, {10.5, 12}, {30, 40}, {1, 2}}};
}

std::string TemporaryPath(const std::string& name) {
    const auto path = std::filesystem::temp_directory_path() / ("vz-walk-" + name);
    std::filesystem::remove(path);
    return path.string();
}

std::string Repeated(const std::string& text, int count) {
    std::string repeated;
    for (int i = 0; i < count; ++i) {
        repeated += text;
    }
    return repeated;
}

WalkReading ReadText(const std::string& text) {
    std::istringstream in(text);
    return ReadWalk(in);
}

TEST(WalkFile, PointsAppendedAreReadBackWithOneHeader) {
    const std::string path = TemporaryPath("append.jsonl");
    const WalkHeader header{"1.0.0", "2026-12-07T08:30:00.000Z",
                            Record{{{"node_address", std::string("00a0d4000001")}}}};
    const WalkPoint points[] = {SamplePoint("Hall"), SamplePoint("Stairs")};
    for (const WalkPoint& point : points) {
        ASSERT_EQ(AppendWalkPoint(path, header, point), std::nullopt);
    }
    std::ifstream in(path);
    const WalkReading reading = ReadWalk(in);
    ASSERT_TRUE(reading.header);
    EXPECT_EQ(WalkHeaderJson(*reading.header), WalkHeaderJson(header));
    ASSERT_EQ(reading.points.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(WalkPointJson(reading.points[i]), WalkPointJson(points[i]));
    }
    EXPECT_EQ(reading.points[1].label, "Stairs");
    EXPECT_EQ(reading.points[0].nodes[1].signalPercent, 40);
    EXPECT_EQ(reading.points[0].spectrum->peakHoldPercent[1], 40);
    EXPECT_TRUE(reading.skipped.empty());
}

TEST(WalkFile, AnUnfinishedLastLineStaysOneSkippedLine) {
    const std::string path = TemporaryPath("cut.jsonl");
    std::ofstream(path) << kHeaderLine << "\n"
                        << R"({"type":"point","x":1)";
    ASSERT_EQ(AppendWalkPoint(path, WalkHeader{}, SamplePoint("After")), std::nullopt);
    std::ifstream in(path);
    const WalkReading reading = ReadWalk(in);
    EXPECT_EQ(reading.skipped, std::vector<std::string>{"line 2: not JSON"});
    ASSERT_EQ(reading.points.size(), 1u);
    EXPECT_EQ(reading.points[0].label, "After");
}

TEST(WalkFile, AFileThatCannotBeOpenedIsTold) {
    const auto failure = AppendWalkPoint("/nonexistent-folder/w.jsonl", {}, SamplePoint("A"));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->rfind("cannot open /nonexistent-folder/w.jsonl: ", 0), 0u) << *failure;
}

// Each line stands second, after the header and before a good point; it is skipped with its
// reason and the rest is read.
TEST(WalkFile, MalformedLinesAreSkippedWithTheirNumber) {
    auto point = [](const std::string& from, const std::string& to) {
        std::string line = kPointLine;
        return line.replace(line.find(from), from.size(), to);
    };
    const std::pair<std::string, std::string> kCases[] = {
        {"{\"type\":\"point\"", "not JSON"},
        {"[1,2]", "not a JSON object"},
        {R"({"type":"node"})", "type is neither walk nor point"},
        {kHeaderLine, "a walk header after the first line"},
        {point(R"("x":10,)", ""), "no x"},
        {point(R"("x":10)", R"("x":-1)"), "x is not a number from 0 to 10000000"},
        {point(R"("y":20.5)", R"("y":"20")"), "y is not a number from 0 to 10000000"},
        {point(R"("label":"Hall")", R"("label":3)"), "label is not a text"},
        {point(R"("master_address":"00a0d4010001")", R"("master_address":"00A0D4010001")"),
         "master_address is not 12 lower-case hex digits"},
        {point(R"("signal_percent":82)", R"("signal_percent":101)"),
         "signal_percent is not a number from 0 to 100"},
        {point(R"("signal_percent":82)", R"("signal_percent":82.5)"),
         "signal_percent is not a whole number"},
        {point(R"("link_quality":5)", R"("link_quality":6)"),
         "link_quality is not a number from 0 to 5"},
        {point(R"("heard":true)", R"("heard":1)"), "heard is not true or false"},
        {point(R"("nodes":[)", R"("nodes":[3,)"), "a node is not an object"},
        {point(R"("link":null)", R"("link":{"latency_ms":[7]})"), "link.latency_ms is not a value"},
        {point(R"("spectrum":null)", R"("spectrum":{"frequency_ghz":[2.4],"average_percent":[],)"
                                     R"("peak_hold_percent":[1],"minimum_hold_percent":[1]})"),
         "the spectrum's lists are empty or of different lengths"},
        {point(R"("spectrum":null)", R"("spectrum":{"frequency_ghz":7})"),
         "frequency_ghz is not a list of at most 256"},
        {point(R"("spectrum":null)",
               R"("spectrum":{"frequency_ghz":[)" + Repeated("1,", 256) + "1]}"),
         "frequency_ghz is not a list of at most 256"},
        {point(R"("nodes":[)", "\"nodes\":[" + Repeated(R"({"address":"00a0d4010001"},)", 100)),
         "nodes is not a list of at most 100"},
        {std::string(1 << 20, ' ') + "x", "longer than 1 MiB"},
    };
    for (const auto& [line, reason] : kCases) {
        const WalkReading reading =
            ReadText(std::string(kHeaderLine) + "\n" + line + "\n\n" + kPointLine + "\n");
        EXPECT_TRUE(reading.header) << line;
        EXPECT_EQ(reading.skipped, std::vector<std::string>{"line 2: " + reason}) << line;
        EXPECT_EQ(reading.points.size(), 1u) << line;
    }
}

TEST(WalkFile, AWalkWithoutItsHeaderKeepsItsPoints) {
    const WalkReading reading = ReadText(std::string(kPointLine) + "\r\n" + kPointLine);
    EXPECT_FALSE(reading.header);
    EXPECT_EQ(reading.points.size(), 2u);
    EXPECT_TRUE(reading.skipped.empty());
}

TEST(WalkFile, ReadingStopsAfterTwoThousandPoints) {
    const WalkReading reading = ReadText(Repeated(std::string(kPointLine) + "\n", 2001) + "x\n");
    EXPECT_EQ(reading.points.size(), 2000u);
    EXPECT_EQ(reading.skipped,
              std::vector<std::string>{"line 2001: more than 2000 points, the rest is left out"});
}

}  // namespace
}  // namespace vz
