// Card control: the options sent, InitCard's steps and waits, SynchToMaster's decisions.
#include <algorithm>
#include <cstring>

#include "driver/card_control.h"
#include "driver/tests/driver_fixture.h"

namespace vz {
namespace {

using Step = ScriptedDevice::Step;

// A Station sends four parameters and the roaming command; a Master also its name (cut to 11
// characters), channels and the MAC command. Any station type text but "Station" and
// "Alternate Master" counts as Master.
TEST_F(OpenDriverTest, CardOptionsForAStationAndForAMaster) {
    // clang-format off
    const CardOptions station{.domain = "7", .roamConfig = "Slow", .inactivitySecondsIndex = 3,
                              .inactivityMinutes = 2};
    const CardOptions master{.masterSettings = true, .masterName = "ABCDEFGHIJKLMNOP",
                             .stationType = "station", .channel = "12", .subchannel = "3",
                             .domain = "15", .macOptimize = "Light", .roamConfig = "Fast",
                             .peerToPeer = false};
    EXPECT_EQ(SetCardOptions(driver, station) + SetCardOptions(driver, master), 0);
    EXPECT_EQ(SentCommands(), (Commands{kCmdSetDriverData, kCmdSetRoamConfig, kCmdSetDriverData,
                                        kCmdSetMacOptimize, kCmdSetRoamConfig}));
    EXPECT_EQ(SentEntries(0), (Entries{{kParamStationType, {kStationTypeStation}},
        {kParamDomain, {7}}, {kParamInactivity, {2 * 12 + 3, 0}}, {kParamPeerToPeer, {1}}}));
    EXPECT_EQ(SentEntries(2), (Entries{{kParamStationType, {kStationTypeMaster}},
        {kParamAnnouncedName, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 0}},
        {kParamMasterChannel, {12}}, {kParamMasterSubchannel, {3}}, {kParamDomain, {15}},
        {kParamInactivity, {0, 0}}, {kParamPeerToPeer, {0}}}));
    // clang-format on
    EXPECT_EQ(SentData(1), Bytes{0});  // Slow
    EXPECT_EQ(SentData(3), Bytes{1});  // Light
    EXPECT_EQ(SentData(4), Bytes{2});  // Fast
}

TEST_F(OpenDriverTest, CardOptionsStopAtTheFirstFailingStep) {
    CardOptions options;
    options.masterSettings = true;
    device.Then(Answer(0));
    device.Then(Answer(-3));
    EXPECT_EQ(SetCardOptions(driver, options), -3);
    EXPECT_EQ(SentCommands(), (Commands{kCmdSetDriverData, kCmdSetMacOptimize}));
    EXPECT_EQ(reports, Strings{"-3 SetMACOptimize in SetCardOptions"});
}

// Answers like a card: ROM version, country code, no calibration, a Master node list whose sync
// state and Master address end in `sync`, and a roaming flag of `roaming`.
Step LikeACard(uint8_t sync, uint8_t roaming = 1) {
    return [sync, roaming](ScriptedDevice::Request& r) {
        if (r.Command() == kCmdGetCountryCode) {
            r.data[0] = 0xC5;
            r.length = 1;
            return;
        }
        r.AnswerParameter(kParamRomVersion, {'V', '1', '.', '4', '9', 'b', ' '});
        r.AnswerParameter(kParamRoamingFlag, {roaming});
        for (uint16_t id : {kParamNodeAddress, kParamMasterName, kParamChannel, kParamSubchannel}) {
            r.AnswerParameter(id, Bytes(12, 0));
        }
        r.AnswerParameter(kParamMasterAddress, {0, 0, 0, 0, 0, sync});
        r.AnswerParameter(kParamSyncState, {sync});
        r.length = r.Command() == kCmdGetDriverData ? r.length : 0;
    };
}

const char kOpenText[] = "open Please wait while the driver is being re-initialized.";

// What InitCard leaves in the card state, as one text.
std::string CardText(const CardState& card) {
    return std::string(card.romVersion) + "|" + std::to_string(card.countryCode) + "|" +
           std::to_string(card.countryFlag) + "|" + card.rssiMapMarker + card.rssiMapText + "|" +
           std::to_string(card.cardInitialised) + "|" + card.masterAddress;
}

Step Calibration(int32_t result, Bytes points) {
    return [=](ScriptedDevice::Request& r) {
        std::copy(points.begin(), points.end(), r.data + 8);
        r.result = result;
    };
}

struct InitCase {
    const char* name;
    uint8_t sync;
    int waitFlag;
    std::vector<Step> steps;  // before the card's standing answers; empty ones give them too
    int status;
    uint32_t seconds;  // waited
    std::string card;
    Strings events;
    Strings reports;
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
    {"CountryFailureLeavesMapAndCountryAlone", 0, 0, {Step{}, Step{}, AnswerBytes({0xC5}, 4)}, 4,
     0, "V1.49b |1|0|+kept|1|", {"close"}, {"4 Error Getting Country Code 4"}},
    {"FailedCalibrationBeeps", 1, 0, {Step{}, Step{}, AnswerBytes({1}), Answer(3)}, 0, 0,
     "V1.49b |1|1| |1|000000000001", {"beep 1000 500", "close"}},
    {"ValidCalibrationKeepsTheMapText", 1, 0,
     {Step{}, Step{}, AnswerBytes({2}), Calibration(0, {2, 40, 200, 80, 100})}, 0, 0,
     "V1.49b |2|0|+<-40dBm:200> <-80dBm:100> |1|000000000001", {"close"}},
};
// clang-format on

class InitCardCases : public OpenDriverTest, public ::testing::WithParamInterface<InitCase> {};

TEST_P(InitCardCases, RefreshTheCardStateAndWaitForAMaster) {
    const InitCase& c = GetParam();
    device.Otherwise(LikeACard(c.sync));
    for (const Step& step : c.steps) {
        device.Then(step ? step : LikeACard(c.sync));
    }
    driver.card.countryCode = 1;
    std::strcpy(driver.card.rssiMapText, "kept");
    driver.card.rssiMapMarker = '+';
    uint8_t sync = 9;
    EXPECT_EQ(InitCard(driver, sync, 0, c.waitFlag), c.status);
    EXPECT_EQ(sync, c.status == 0 ? c.sync : 0);
    EXPECT_EQ(clock.NowMs() / 100, c.seconds * 10);
    EXPECT_EQ(CardText(driver.card), c.card);
    Strings events = {kOpenText};
    events.insert(events.end(), c.events.begin(), c.events.end());
    EXPECT_EQ(host.events, events);
    EXPECT_EQ(reports, c.reports);
}

INSTANTIATE_TEST_SUITE_P(Cases, InitCardCases, ::testing::ValuesIn(kInitCases),
                         [](const auto& info) { return std::string(info.param.name); });

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

class SynchToMasterCases : public OpenDriverTest,
                           public ::testing::WithParamInterface<SynchCase> {};

TEST_P(SynchToMasterCases, MoveTheCardOntoTheMaster) {
    const SynchCase& c = GetParam();
    device.Otherwise(LikeACard(c.sync, c.roaming));
    const char name[kMasterNameSize] = "";
    EXPECT_EQ(SynchToMaster(driver, c.reinitFlag, 1, 2, 3, name, c.wanted), c.status);
    Commands sent = SentCommands();
    sent.resize(c.start.size());
    EXPECT_EQ(sent, c.start);
    EXPECT_EQ(clock.NowMs() / 1000, c.seconds);
}

INSTANTIATE_TEST_SUITE_P(Cases, SynchToMasterCases, ::testing::ValuesIn(kSynchCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Never synchronised: ten thousand polls, the mouse served between them.
TEST_F(OpenDriverTest, SynchToMasterGivesUpAfterItsPolls) {
    device.Otherwise(LikeACard(0));
    const char name[kMasterNameSize] = "";
    EXPECT_EQ(SynchToMaster(driver, 0, 1, 2, 3, name, "000000000001"), kStatusNoSync);
    EXPECT_EQ(device.sentBlocks.size(), 3u + kSynchMaxSyncPolls);
    EXPECT_EQ(host.mousePumps, kSynchMaxSyncPolls - 1);
}

}  // namespace
}  // namespace vz
