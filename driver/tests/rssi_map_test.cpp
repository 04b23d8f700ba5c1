// The signal table built from the card's calibration points.
#include "driver/rssi_map.h"
#include "driver/tests/driver_fixture.h"

namespace vz {
namespace {

struct MapCase {
    const char* name;
    std::vector<std::pair<uint8_t, uint8_t>> points;  // level below 0 dBm, raw reading
    int count;                                        // -1: the number of points
    int result;
    std::vector<std::pair<int, int>> rawToPercent;
    std::string text;
};

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

// clang-format off
const MapCase kMapCases[] = {
    {"ElevenPointsMeansDefault", {}, 11, -1, {{99, 0}, {150, 50}, {201, 100}}, ""},
    {"NoPointsMeansDefault", {}, 0, -1, {{0, 0}, {100, 0}, {200, 100}}, ""},
    {"TenPointsAreTaken", std::vector<std::pair<uint8_t, uint8_t>>(10, {40, 200}), -1, 0,
     {{255, 100}}, Repeat("<-40dBm:200> ", 10)},
    {"TwoPoints", {{40, 200}, {80, 100}}, -1, 0,
     {{0, 0}, {101, 0}, {102, 1}, {150, 49}, {200, 99}, {201, 99}, {255, 99}},
     "<-40dBm:200> <-80dBm:100> "},
    {"ThreePoints", {{40, 200}, {60, 150}, {80, 100}}, -1, 0,
     {{101, 0}, {150, 49}, {151, 50}, {200, 99}, {255, 99}},
     "<-40dBm:200> <-60dBm:150> <-80dBm:100> "},
    {"SameLevelsStartAtZero", {{60, 100}, {60, 50}}, -1, 0, {{0, 0}, {1, 1}, {50, 50}, {100, 50}},
     "<-60dBm:100> <-60dBm:50> "},
    {"StrongerThanFortyIsFull", {{30, 250}, {80, 100}}, -1, 0, {{250, 99}},
     "<-30dBm:250> <-80dBm:100> "},
    {"SinglePointRisesAlongTheDefaultSlope", {{60, 150}}, -1, 0,
     {{100, 0}, {101, 1}, {150, 50}, {255, 100}}, "<-60dBm:150> "},
    {"SteepPointsStopAtOneHundred", {{80, 32}, {60, 60}}, -1, 0, {{171, 100}, {255, 100}},
     "<-80dBm:32> <-60dBm:60> "},
    {"FallingSegmentsStopAtZero", {{70, 136}, {50, 52}}, -1, 0, {{185, 3}, {200, 13}},
     "<-70dBm:136> <-50dBm:52> "},
};
// clang-format on

class RssiMap : public OpenDriverTest, public ::testing::WithParamInterface<MapCase> {};

TEST_P(RssiMap, MapsRawReadingsToPercent) {
    const MapCase& c = GetParam();
    device.Then([&c](ScriptedDevice::Request& r) {
        r.data[8] = uint8_t(c.count < 0 ? c.points.size() : c.count);
        for (size_t k = 0; k < c.points.size(); ++k) {
            r.data[9 + 2 * k] = c.points[k].first;
            r.data[10 + 2 * k] = c.points[k].second;
        }
    });
    char text[kRssiMapTextSize] = "stale";
    EXPECT_EQ(BuildRssiMap(driver, text), c.result);
    for (const auto& [raw, percent] : c.rawToPercent) {
        EXPECT_EQ(driver.card.rssiPercent[raw], percent) << "raw " << raw;
    }
    EXPECT_LE(*std::max_element(driver.card.rssiPercent, driver.card.rssiPercent + 256), 100);
    EXPECT_EQ(text, c.text);
    const Bytes sent = SentData();
    EXPECT_EQ(std::make_tuple(sent.size(), sent[4], GetU16(&sent[6])),
              std::make_tuple(kCalibrationRecordSize, uint8_t{0x80}, uint16_t{21}));
}

INSTANTIATE_TEST_SUITE_P(Cases, RssiMap, ::testing::ValuesIn(kMapCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OpenDriverTest, FailedCalibrationLeavesTableAndTextAlone) {
    driver.card.rssiPercent[10] = 42;
    device.Then(Answer(3));
    char text[kRssiMapTextSize] = "kept";
    EXPECT_EQ(BuildRssiMap(driver, text), 3);
    EXPECT_STREQ(text, "kept");
    EXPECT_EQ(driver.card.rssiPercent[10], 42);
}

}  // namespace
}  // namespace vz
