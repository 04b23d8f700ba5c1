// The signal table built from calibration points, and frequency readings through it.
#include "driver/rssi_map.h"
#include "driver/tests/driver_fixture.h"

namespace vz {
namespace {

using Bytes = std::vector<uint8_t>;

ScriptedDevice::Step Calibration(std::vector<std::pair<uint8_t, uint8_t>> points, int count = -1) {
    return [=](ScriptedDevice::Request& r) {
        r.data[8] = uint8_t(count < 0 ? points.size() : count);
        for (size_t k = 0; k < points.size(); ++k) {
            r.data[9 + 2 * k] = points[k].first;
            r.data[10 + 2 * k] = points[k].second;
        }
        r.result = 0;
    };
}

struct MapCase {
    const char* name;
    std::vector<std::pair<uint8_t, uint8_t>> points;
    int count;
    int result;
    std::vector<std::pair<int, int>> rawToPercent;
    const char* text;
};

class RssiMap : public DriverTest, public ::testing::WithParamInterface<MapCase> {};

TEST_P(RssiMap, MapsRawReadingsToPercent) {
    const MapCase& c = GetParam();
    Open();
    device.Then(Calibration(c.points, c.count));
    char text[256] = "stale";
    EXPECT_EQ(BuildRssiMap(driver, text), c.result);
    for (const auto& [raw, percent] : c.rawToPercent) {
        EXPECT_EQ(driver.card.rssiPercent[raw], percent) << "raw " << raw;
    }
    for (int i = 0; i < 256; ++i) {
        ASSERT_LE(driver.card.rssiPercent[i], 100);
    }
    EXPECT_STREQ(text, c.text);
    const Bytes sent = SentData();
    ASSERT_EQ(sent.size(), 260u);
    EXPECT_EQ(sent[4], 0x80);
    EXPECT_EQ(GetU16(&sent[6]), 21);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RssiMap,
    ::testing::Values(
        MapCase{"ElevenPointsMeansDefault", {}, 11, -1, {{99, 0}, {150, 50}, {201, 100}}, ""},
        MapCase{"NoPointsMeansDefault", {}, 0, -1, {{0, 0}, {100, 0}, {200, 100}}, ""},
        MapCase{"TwoPoints",
                {{40, 200}, {80, 100}},
                -1,
                0,
                {{0, 0}, {101, 0}, {102, 1}, {150, 49}, {200, 99}, {201, 99}, {255, 99}},
                "<-40dBm:200> <-80dBm:100> "},
        MapCase{"ThreePoints",
                {{40, 200}, {60, 150}, {80, 100}},
                -1,
                0,
                {{101, 0}, {150, 49}, {151, 50}, {200, 99}, {255, 99}},
                "<-40dBm:200> <-60dBm:150> <-80dBm:100> "},
        MapCase{"SameLevelsStartAtZero",
                {{60, 100}, {60, 50}},
                -1,
                0,
                {{0, 0}, {1, 1}, {50, 50}, {100, 50}},
                "<-60dBm:100> <-60dBm:50> "},
        MapCase{"StrongerThanFortyIsFull",
                {{30, 250}, {80, 100}},
                -1,
                0,
                {{250, 99}},
                "<-30dBm:250> <-80dBm:100> "},
        MapCase{"SinglePointRisesAlongTheDefaultSlope",
                {{60, 150}},
                -1,
                0,
                {{100, 0}, {101, 1}, {150, 50}, {255, 100}},
                "<-60dBm:150> "},
        MapCase{"SteepPointsStopAtOneHundred",
                {{80, 32}, {60, 60}},
                -1,
                0,
                {{171, 100}, {255, 100}},
                "<-80dBm:32> <-60dBm:60> "},
        MapCase{"FallingSegmentsStopAtZero",
                {{70, 136}, {50, 52}},
                -1,
                0,
                {{185, 3}, {200, 13}},
                "<-70dBm:136> <-50dBm:52> "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DriverTest, FailedCalibrationLeavesTableAndTextAlone) {
    Open();
    driver.card.rssiPercent[10] = 42;
    device.Then(Answer(3));
    char text[256] = "kept";
    EXPECT_EQ(BuildRssiMap(driver, text), 3);
    EXPECT_STREQ(text, "kept");
    EXPECT_EQ(driver.card.rssiPercent[10], 42);
}

TEST_F(DriverTest, FrequencyReadingParksTheRadioAndConvertsTheRawValue) {
    Open();
    driver.card.rssiPercent[130] = 30;
    device.Then(Answer(0));
    device.Then(AnswerBytes({130}));
    uint8_t percent = 0;
    EXPECT_EQ(GetRSSI_freq(driver, percent, 17), 0);
    EXPECT_EQ(percent, 30);
    EXPECT_EQ(SentCommands(), (std::vector<uint32_t>{10, 9}));
    EXPECT_EQ(SentData(0), Bytes{17});

    device.Then(Answer(-2));
    EXPECT_EQ(GetRSSI_freq(driver, percent, 3), -2);
    EXPECT_EQ(reports, (std::vector<std::string>{"-2 GetRSSI_freq calling DisableHopping"}));
}

}  // namespace
}  // namespace vz
