// Card control: the options sent, the signal table, InitCard's steps and waits, SynchToMaster's
// decisions.
#include <cstring>

#include "driver/card_control.h"
#include "driver/rssi_map.h"
#include "driver/tests/driver_fixture.h"

namespace vz {
namespace {

// A Station sends four parameters and the roaming command; a Master also its name (cut to 11
// characters), channels and the MAC command. Any station type text but "Station" and
// "Alternate Master" counts as Master. A failing step ends the operation.
TEST_F(OpenDriverTest, CardOptionsForAStationAndForAMaster) {
    // clang-format off
    const CardOptions station{.domain = "7", .roamConfig = "Slow", .inactivitySecondsIndex = 3,
                              .inactivityMinutes = 2};
    const CardOptions master{.masterSettings = true, .masterName = "ABCDEFGHIJKLMNOP",
                             .stationType = "station", .channel = "12", .subchannel = "3",
                             .domain = "15", .macOptimize = "Light", .roamConfig = "Fast",
                             .peerToPeer = false};
    EXPECT_EQ(SetCardOptions(driver, station) + SetCardOptions(driver, master), 0);
    EXPECT_EQ(device.commands, (Commands{kCmdSetDriverData, kCmdSetRoamConfig, kCmdSetDriverData,
                                        kCmdSetMacOptimize, kCmdSetRoamConfig}));
    EXPECT_EQ(device.sent.at(0), List({{kParamStationType, {kStationTypeStation}}, {kParamDomain, {7}},
        {kParamInactivity, {2 * 12 + 3, 0}}, {kParamPeerToPeer, {1}}}));
    EXPECT_EQ(device.sent.at(2), List({{kParamStationType, {kStationTypeMaster}},
        {kParamAnnouncedName, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 0}},
        {kParamMasterChannel, {12}}, {kParamMasterSubchannel, {3}}, {kParamDomain, {15}},
        {kParamInactivity, {0, 0}}, {kParamPeerToPeer, {0}}}));
    // clang-format on
    // Slow, Light, Fast
    EXPECT_EQ(device.sent.at(1) + device.sent.at(3) + device.sent.at(4), (Bytes{0, 1, 2}));
    Script({Answer(0), Answer(-3)});
    EXPECT_EQ(SetCardOptions(driver, master), -3);
    EXPECT_EQ(device.commands.size(), 7u);
    EXPECT_EQ(reports, Strings{"-3 SetMACOptimize in SetCardOptions"});
}

using Points = std::vector<std::pair<uint8_t, uint8_t>>;  // level below 0 dBm, raw reading

// Command 14's answer: the number of points at byte 8, the points after it.
Step Calibration(const Points& points, int32_t result = 0) {
    Bytes record(8, 0);
    record.push_back(uint8_t(points.size()));
    for (const auto& [level, raw] : points) {
        record = record + Bytes{level, raw};
    }
    return Answer(result, record);
}

struct MapCase {
    const char* name;
    Points points;
    int32_t reply;  // command 14's result
    int result;
    std::vector<std::pair<int, int>> rawToPercent;
    const char* text;
};

// clang-format off
const MapCase kMapCases[] = {
    {"ElevenPointsMeansDefault", Points(11, {40, 200}), 0, -1, {{99, 0}, {150, 50}, {201, 100}},
     ""},
    {"NoPointsMeansDefault", {}, 0, -1, {{0, 0}, {100, 0}, {200, 100}}, ""},
    {"TenPointsAreTaken", Points(10, {40, 200}), 0, 0, {{255, 100}},
     "<-40dBm:200> <-40dBm:200> <-40dBm:200> <-40dBm:200> <-40dBm:200> "
     "<-40dBm:200> <-40dBm:200> <-40dBm:200> <-40dBm:200> <-40dBm:200> "},
    {"TwoPoints", {{40, 200}, {80, 100}}, 0, 0,
     {{0, 0}, {101, 0}, {102, 1}, {150, 49}, {200, 99}, {201, 99}, {255, 99}},
     "<-40dBm:200> <-80dBm:100> "},
    {"ThreePoints", {{40, 200}, {60, 150}, {80, 100}}, 0, 0,
     {{101, 0}, {150, 49}, {151, 50}, {200, 99}, {255, 99}},
     "<-40dBm:200> <-60dBm:150> <-80dBm:100> "},
    {"SameLevelsStartAtZero", {{60, 100}, {60, 50}}, 0, 0, {{0, 0}, {1, 1}, {50, 50}, {100, 50}},
     "<-60dBm:100> <-60dBm:50> "},
    {"StrongerThanFortyIsFull", {{30, 250}, {80, 100}}, 0, 0, {{250, 99}},
     "<-30dBm:250> <-80dBm:100> "},
    {"SinglePointRisesAlongTheDefaultSlope", {{60, 150}}, 0, 0,
     {{100, 0}, {101, 1}, {150, 50}, {255, 100}}, "<-60dBm:150> "},
    {"SteepPointsStopAtOneHundred", {{80, 32}, {60, 60}}, 0, 0, {{171, 100}, {255, 100}},
     "<-80dBm:32> <-60dBm:60> "},
    {"FallingSegmentsStopAtZero", {{70, 136}, {50, 52}}, 0, 0, {{185, 3}, {200, 13}},
     "<-70dBm:136> <-50dBm:52> "},
    {"FailureLeavesTableAndTextAlone", {}, 3, 3, {{150, 0}}, "stale"},
};
// clang-format on

using RssiMap = CaseTable<MapCase>;

TEST_P(RssiMap, MapsRawReadingsToPercent) {
    const MapCase& c = GetParam();
    Script({Calibration(c.points, c.reply)});
    char text[kRssiMapTextSize] = "stale";
    EXPECT_EQ(BuildRssiMap(driver, text), c.result);
    for (const auto& [raw, percent] : c.rawToPercent) {
        EXPECT_EQ(driver.card.rssiPercent[raw], percent) << "raw " << raw;
    }
    EXPECT_LE(*std::max_element(driver.card.rssiPercent, driver.card.rssiPercent + 256), 100);
    EXPECT_STREQ(text, c.text);
    const Bytes sent = device.sent.at(0);
    EXPECT_EQ(std::make_tuple(sent.size(), sent[4], GetU16(&sent[6])),
              std::make_tuple(kCalibrationRecordSize, uint8_t{0x80}, uint16_t{21}));
}

INSTANTIATE_TEST_SUITE_P(Cases, RssiMap, ::testing::ValuesIn(kMapCases), kCaseName);

// Answers like a card: ROM version, country code, no calibration, a Master node list whose sync
// state and Master address end in `sync`, and a roaming flag of `roaming`.
Step LikeACard(uint8_t sync, uint8_t roaming = 1) {
    return [sync, roaming](Request& r) {
        if (r.command == kCmdGetCountryCode) {
            return Answer(0, {0xC5})(r);
        }
        r.Answer(kParamRomVersion, {'V', '1', '.', '4', '9', 'b', ' '});
        r.Answer(kParamRoamingFlag, {roaming});
        r.Answer(kParamMasterAddress, {0, 0, 0, 0, 0, sync});
        r.Answer(kParamSyncState, {sync});
        for (uint16_t id : {kParamNodeAddress, kParamMasterName, kParamChannel, kParamSubchannel}) {
            r.Answer(id, Bytes(12, 0));
        }
        r.length = r.command == kCmdGetDriverData ? r.length : 0;
    };
}

// What InitCard leaves in the card state, as one text.
std::string CardText(const CardState& card) {
    return std::string(card.romVersion) + "|" + std::to_string(card.countryCode) + "|" +
           std::to_string(card.countryFlag) + "|" + card.rssiMapMarker + card.rssiMapText + "|" +
           std::to_string(card.cardInitialised) + "|" + card.masterAddress;
}

struct InitCase {
    const char* name;
    uint8_t sync;
    int waitFlag;
    std::vector<Step> steps;  // before the card's standing answers; empty ones give them too
    int status;
    uint32_t seconds;  // waited
    std::string card;
    Strings events;  // after the status window opened
    Strings reports = {};
};

// Before each case the card state holds country code 1 and the map text "kept" marked '+'.
// clang-format off
const InitCase kInitCases[] = {
    {"GivesUpAfterFiveSeconds", 0, 0, {}, 0, 5, "V1.49b |197|0| |1|000000000000", {"close"}},
    {"WaitFlagOneWaitsTenSeconds", 0, 1, {}, 0, 10, "V1.49b |197|0| |1|000000000000", {"close"}},
    {"OtherWaitFlagsWaitFive", 0, 2, {}, 0, 5, "V1.49b |197|0| |1|000000000000", {"close"}},
    {"StopsWaitingOnceSynchronised", 1, 1, {}, 0, 0, "V1.49b |197|0| |1|000000000001", {"close"}},
    {"CommandFailureLeavesTheCardUninitialised", 0, 0, {Answer(-9)}, -9, 0, "|1|0|+kept|0|",
     {"close"}},
    {"CountryFailureLeavesMapAndCountryAlone", 0, 0, {Step{}, Step{}, Answer(4, {0xC5})}, 4,
     0, "V1.49b |1|0|+kept|1|", {"close"}, {"4 Error Getting Country Code 4"}},
    {"FailedCalibrationBeeps", 1, 0, {Step{}, Step{}, Answer(0, {1}), Answer(3)}, 0, 0,
     "V1.49b |1|1| |1|000000000001", {"beep 1000 500", "close"}},
    {"ValidCalibrationKeepsTheMapText", 1, 0,
     {Step{}, Step{}, Answer(0, {2}), Calibration({{40, 200}, {80, 100}})}, 0, 0,
     "V1.49b |2|0|+<-40dBm:200> <-80dBm:100> |1|000000000001", {"close"}},
};
// clang-format on

using InitCardCases = CaseTable<InitCase>;

TEST_P(InitCardCases, RefreshTheCardStateAndWaitForAMaster) {
    const InitCase& c = GetParam();
    device.otherwise = LikeACard(c.sync);
    for (const Step& step : c.steps) {
        Script({step ? step : LikeACard(c.sync)});
    }
    driver.card.countryCode = 1;
    std::strcpy(driver.card.rssiMapText, "kept");
    driver.card.rssiMapMarker = '+';
    uint8_t sync = 9;
    EXPECT_EQ(InitCard(driver, sync, 0, c.waitFlag), c.status);
    EXPECT_EQ(sync, c.status == 0 ? c.sync : 0);
    EXPECT_EQ(clock.NowMs() / 100, c.seconds * 10);
    EXPECT_EQ(CardText(driver.card), c.card);
    EXPECT_EQ(events, Strings{"Please wait while the driver is being re-initialized."} + c.events);
    EXPECT_EQ(reports, c.reports);
}

INSTANTIATE_TEST_SUITE_P(Cases, InitCardCases, ::testing::ValuesIn(kInitCases), kCaseName);

struct SynchCase {
    const char* name;
    int reinitFlag;  // only its low byte asks for InitCard, whose wait it also is
    uint8_t roaming;
    uint8_t sync;
    const char* wanted;
    int status;
    Commands start;    // the first requests
    uint32_t seconds;  // waited, whole
};

// clang-format off
const SynchCase kSynchCases[] = {
    {"RoamingOnSearchesAtOnce", 0x100, 1, 1, "000000000001", 0,
     {kCmdGetDriverData, kCmdSetDriverData, kCmdSearchSynchronous, kCmdGetDriverData}, 0},
    {"RoamingOffReinitialises", 0, 0, 1, "000000000001", 0,
     {kCmdGetDriverData, kCmdSetDriverData, kCmdSetDriverData, kCmdInitCard}, 0},
    {"ReinitFlagIsInitCardsWait", 1, 1, 0, "000000000001", kStatusNoSync,
     {kCmdGetDriverData, kCmdSetDriverData, kCmdSetDriverData, kCmdInitCard}, 20},
    {"AnotherMasterAfterABoundedWait", 0, 1, 1, "0000000000ff", -1,
     {kCmdGetDriverData, kCmdSetDriverData, kCmdSearchSynchronous}, kSynchConfirmSeconds},
};
// clang-format on

using SynchToMasterCases = CaseTable<SynchCase>;

TEST_P(SynchToMasterCases, MoveTheCardOntoTheMaster) {
    const SynchCase& c = GetParam();
    device.otherwise = LikeACard(c.sync, c.roaming);
    const char name[kMasterNameSize] = "";
    EXPECT_EQ(SynchToMaster(driver, c.reinitFlag, 1, 2, 3, name, c.wanted), c.status);
    Commands sent = device.commands;
    sent.resize(c.start.size());
    EXPECT_EQ(sent, c.start);
    EXPECT_EQ(clock.NowMs() / 1000, c.seconds);
}

INSTANTIATE_TEST_SUITE_P(Cases, SynchToMasterCases, ::testing::ValuesIn(kSynchCases), kCaseName);

// Never synchronised: ten thousand polls, the mouse served between them.
TEST_F(OpenDriverTest, SynchToMasterGivesUpAfterItsPolls) {
    device.otherwise = LikeACard(0);
    const char name[kMasterNameSize] = "";
    EXPECT_EQ(SynchToMaster(driver, 0, 1, 2, 3, name, "000000000001"), kStatusNoSync);
    EXPECT_EQ(device.commands.size(), 3u + kSynchMaxSyncPolls);
    EXPECT_EQ(mousePumps, kSynchMaxSyncPolls - 1);
}

}  // namespace
}  // namespace vz
