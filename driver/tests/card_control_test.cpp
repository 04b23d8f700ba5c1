// Card control: the lists and commands sent, InitCard's waits and SynchToMaster's decisions.
#include <algorithm>
#include <cstring>

#include "driver/card_control.h"
#include "driver/status_queries.h"
#include "driver/tests/driver_fixture.h"

namespace vz {
namespace {

using Bytes = std::vector<uint8_t>;

// The parameter ids of a list, in order, with each value.
std::vector<std::pair<uint16_t, Bytes>> Entries(const Bytes& list) {
    std::vector<std::pair<uint16_t, Bytes>> entries;
    for (size_t o = 0; o + 2 <= list.size() && GetU16(&list[o]) != 0;) {
        const uint16_t id = GetU16(&list[o]);
        const uint16_t length = GetU16(&list[o + 4]);
        entries.emplace_back(id, Bytes(list.begin() + o + 6, list.begin() + o + 6 + length));
        o += 6 + length;
    }
    return entries;
}

class CardControl : public DriverTest {
  protected:
    void SetUp() override { Open(); }
};

TEST_F(CardControl, StationOptionsSendFourParametersAndOnlyTheRoamCommand) {
    CardOptions options;
    options.stationType = "Station";
    options.domain = "7";
    options.inactivityMinutes = 2;
    options.inactivitySecondsIndex = 3;
    options.roamConfig = "Slow";
    EXPECT_EQ(SetCardOptions(driver, options), 0);
    EXPECT_EQ(SentCommands(), (std::vector<uint32_t>{4, 20}));
    const auto entries = Entries(SentData(0));
    const std::vector<std::pair<uint16_t, Bytes>> expected = {
        {9, {0}}, {8, {7}}, {7, {27, 0}}, {24, {1}}};
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(SentData(1), Bytes{0});
}

TEST_F(CardControl, MasterOptionsSendNameChannelsAndBothCommands) {
    CardOptions options;
    options.masterSettings = true;
    options.masterName = "HALL";
    options.stationType = "station";  // not an exact match: counts as Master
    options.channel = "12";
    options.subchannel = "3";
    options.domain = "15";
    options.macOptimize = "Light";
    options.roamConfig = "Fast";
    options.peerToPeer = false;
    EXPECT_EQ(SetCardOptions(driver, options), 0);
    EXPECT_EQ(SentCommands(), (std::vector<uint32_t>{4, 19, 20}));
    const auto entries = Entries(SentData(0));
    ASSERT_EQ(entries.size(), 7u);
    const uint16_t ids[] = {9, 5, 3, 4, 8, 7, 24};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(entries[i].first, ids[i]);
    }
    EXPECT_EQ(entries[0].second, Bytes{2});
    EXPECT_EQ(entries[1].second, (Bytes{'H', 'A', 'L', 'L', 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(entries[2].second, Bytes{12});
    EXPECT_EQ(entries[6].second, Bytes{0});
    EXPECT_EQ(SentData(1), Bytes{1});
    EXPECT_EQ(SentData(2), Bytes{2});
}

TEST_F(CardControl, OptionsStopAtTheFirstFailingStep) {
    CardOptions options;
    options.masterSettings = true;
    device.Then(Answer(0));
    device.Then(Answer(-3));
    EXPECT_EQ(SetCardOptions(driver, options), -3);
    EXPECT_EQ(SentCommands(), (std::vector<uint32_t>{4, 19}));
    EXPECT_EQ(reports, (std::vector<std::string>{"-3 SetMACOptimize in SetCardOptions"}));
}

TEST_F(CardControl, MasterNameLongerThanTheFieldIsCut) {
    CardOptions options;
    options.masterSettings = true;
    options.masterName = "ABCDEFGHIJKLMNOP";
    SetCardOptions(driver, options);
    EXPECT_EQ(Entries(SentData(0))[1].second,
              (Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 0}));
}

struct SetterCase {
    const char* name;
    int (*set)(Driver&);
    std::vector<std::pair<uint16_t, Bytes>> entries;
    const char* failureText;
};

class Setters : public CardControl, public ::testing::WithParamInterface<SetterCase> {};

TEST_P(Setters, SendTheirEntriesAndNameTheirStepOnFailure) {
    const SetterCase& c = GetParam();
    EXPECT_EQ(c.set(driver), 0);
    EXPECT_EQ(SentCommand(), 4u);
    EXPECT_EQ(Entries(SentData()), c.entries);
    device.Then(Answer(-1));
    EXPECT_EQ(c.set(driver), -1);
    EXPECT_EQ(reports, (std::vector<std::string>{std::string("-1 ") + c.failureText}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Setters,
    ::testing::Values(SetterCase{"ClearSync",
                                 [](Driver& d) { return ClearSyncState(d); },
                                 {{19, {0}}},
                                 "Set Driver Data in ClearSyncState"},
                      SetterCase{"ClearMaster",
                                 [](Driver& d) { return ClearMasterAddr(d); },
                                 {{20, {0, 0, 0, 0, 0, 0}}, {19, {0}}},
                                 "Set Driver Data in Clear Master Addr"},
                      SetterCase{"Domain",
                                 [](Driver& d) { return SetDomain(d, "12x"); },
                                 {{8, {12}}},
                                 "SetDriverData in SetDomain"},
                      SetterCase{"StationType",
                                 [](Driver& d) { return SetStationType(d, 2); },
                                 {{9, {2}}},
                                 "SetDriverData in SetStationType"},
                      SetterCase{"Roaming",
                                 [](Driver& d) { return SetRoamingFlag(d, 1); },
                                 {{17, {1}}},
                                 "SetDriverData in SetRoamingFlag"},
                      SetterCase{"Inactivity",
                                 [](Driver& d) { return SetInactivityTimer(d, 0x1234); },
                                 {{7, {0x34, 0x12}}},
                                 "SetDriverData in SetCardOptions"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CardControl, SearchRecordsCarryDomainChannelsAndName) {
    StartMasterSearch(driver, 5);
    EXPECT_EQ(SentData(), (Bytes{0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    const char name[12] = "AP-EAST";
    SearchSynchronous(driver, 2, 7, 8, name);
    EXPECT_EQ(SentData(), (Bytes{7, 8, 2, 'A', 'P', '-', 'E', 'A', 'S', 'T', 0, 0, 0, 0, 0}));
    EXPECT_EQ(SentCommands(), (std::vector<uint32_t>{6, 7}));
}

TEST_F(CardControl, SecurityIdIsSentWithItsNulAndCutAtTwenty) {
    SetSecurityId(driver, "abc");
    EXPECT_EQ(SentData(), (Bytes{'a', 'b', 'c', 0}));
    SetSecurityId(driver, "0123456789012345678901234");
    EXPECT_EQ(SentData().size(), 21u);
    EXPECT_EQ(SentData().back(), 0);
}

// A device that answers InitCard's requests: version, country code, no calibration, and a
// Master node list whose sync state is `sync`.
void AnswerLikeACard(ScriptedDevice& device, uint8_t sync, uint8_t countryStatus = 0) {
    device.Otherwise([sync, countryStatus](ScriptedDevice::Request& r) {
        switch (r.Command()) {
            case 3:
                r.AnswerParameter(18, {'V', '1', '.', '4', '9', 'b', ' '});
                for (uint16_t id : {20, 6, 21, 22, 23}) {
                    r.AnswerParameter(id, Bytes(12, 0));
                }
                r.AnswerParameter(20, {0, 0, 0, 0, 0, sync});
                r.AnswerParameter(19, {sync});
                break;
            case 8:
                r.data[0] = 0xC5;
                r.length = 1;
                r.result = countryStatus;
                return;
            default:
                r.length = 0;
        }
        r.result = 0;
    });
}

struct WaitCase {
    int waitFlag;
    uint32_t seconds;
};

class InitCardWaits : public CardControl, public ::testing::WithParamInterface<WaitCase> {};

TEST_P(InitCardWaits, GiveUpOnAMasterAfterTheirWholeSeconds) {
    AnswerLikeACard(device, 0);
    uint8_t sync = 9;
    EXPECT_EQ(InitCard(driver, sync, 0, GetParam().waitFlag), 0);
    EXPECT_EQ(sync, 0);
    EXPECT_GE(clock.NowMs(), GetParam().seconds * 1000);
    EXPECT_LT(clock.NowMs(), GetParam().seconds * 1000 + 10);
    EXPECT_EQ(driver.card.cardInitialised, 1);
    EXPECT_STREQ(driver.card.romVersion, "V1.49b ");
    EXPECT_EQ(driver.card.countryCode, 0xC5);
    EXPECT_EQ(host.events,
              (std::vector<std::string>{
                  "open Please wait while the driver is being re-initialized.", "close"}));
}

INSTANTIATE_TEST_SUITE_P(Flags, InitCardWaits,
                         ::testing::Values(WaitCase{0, 5}, WaitCase{1, 10}, WaitCase{2, 5}));

TEST_F(CardControl, InitCardStopsWaitingAsSoonAsTheCardSynchronises) {
    AnswerLikeACard(device, 1);
    uint8_t sync = 0;
    EXPECT_EQ(InitCard(driver, sync, 0, 1), 0);
    EXPECT_EQ(sync, 1);
    EXPECT_LT(clock.NowMs(), 10u);
    EXPECT_STREQ(driver.card.masterAddress, "000000000001");
    EXPECT_EQ(SentCommands(), (std::vector<uint32_t>{13, 3, 8, 14, 3}));
}

TEST_F(CardControl, InitCardCountryFailureLeavesMapAndCountryAlone) {
    AnswerLikeACard(device, 1, 4);
    std::strcpy(driver.card.rssiMapText, "kept");
    driver.card.rssiMapMarker = '+';
    driver.card.countryCode = 1;
    uint8_t sync = 0;
    EXPECT_EQ(InitCard(driver, sync, 0, 0), 4);
    EXPECT_STREQ(driver.card.rssiMapText, "kept");
    EXPECT_EQ(driver.card.rssiMapMarker, '+');
    EXPECT_EQ(driver.card.countryCode, 1);
    EXPECT_EQ(reports, (std::vector<std::string>{"4 Error Getting Country Code 4"}));
    EXPECT_EQ(host.events.back(), "close");
}

TEST_F(CardControl, InitCardFailureOfTheCommandLeavesTheCardUninitialised) {
    device.Then(Answer(-9));
    uint8_t sync = 5;
    EXPECT_EQ(InitCard(driver, sync, 0, 0), -9);
    EXPECT_EQ(sync, 0);
    EXPECT_EQ(driver.card.cardInitialised, 0);
    EXPECT_EQ(host.events.back(), "close");
}

TEST_F(CardControl, SynchToMasterWithRoamingOnAndNoReinitDoesNotReinitialise) {
    AnswerLikeACard(device, 1);
    device.Then(AnswerParameters({{17, {1}}}));
    const char name[12] = "";
    EXPECT_EQ(SynchToMaster(driver, 0, 1, 2, 3, name, "000000000001"), 0);
    const auto commands = SentCommands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), 13u), 0);
    EXPECT_EQ(commands[0], 3u);
    EXPECT_EQ(commands[1], 4u);  // ClearSyncState
    EXPECT_EQ(commands[2], 7u);
}

TEST_F(CardControl, SynchToMasterReinitialisesWhenAskedOrRoamingIsOff) {
    AnswerLikeACard(device, 1);
    device.Then(AnswerParameters({{17, {0}}}));
    const char name[12] = "";
    EXPECT_EQ(SynchToMaster(driver, 0, 1, 2, 3, name, "000000000001"), 0);
    const auto commands = SentCommands();
    EXPECT_EQ(std::vector<uint32_t>(commands.begin(), commands.begin() + 4),
              (std::vector<uint32_t>{3, 4, 4, 13}));
}

TEST_F(CardControl, SynchToMasterLooksOnlyAtTheLowByteOfTheReinitFlag) {
    AnswerLikeACard(device, 1);
    device.Then(AnswerParameters({{17, {1}}}));
    const char name[12] = "";
    EXPECT_EQ(SynchToMaster(driver, 0x100, 1, 2, 3, name, "000000000001"), 0);
    const auto commands = SentCommands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), 13u), 0);
}

TEST_F(CardControl, SynchToMasterPassesItsReinitFlagAsInitCardsWait) {
    AnswerLikeACard(device, 0);
    device.Then(AnswerParameters({{17, {0}}}));
    const char name[12] = "";
    EXPECT_EQ(SynchToMaster(driver, 1, 1, 2, 3, name, "000000000001"), -2);
    EXPECT_GE(clock.NowMs(), 10000u) << "InitCard waited its long wait";
}

TEST_F(CardControl, InitCardBeepsWhenTheCalibrationCommandFailsWithAPositiveStatus) {
    AnswerLikeACard(device, 1);
    device.Then(Answer(0));                                            // 13
    device.Then(AnswerParameters({{18, {'V', '1', '.', '4', '9'}}}));  // version
    device.Then(AnswerBytes({0}));                                     // country
    device.Then(Answer(3));                                            // calibration
    uint8_t sync = 0;
    EXPECT_EQ(InitCard(driver, sync, 0, 0), 0);
    EXPECT_EQ(driver.card.rssiMapMarker, ' ');
    EXPECT_EQ(host.events, (std::vector<std::string>{
                               "open Please wait while the driver is being re-initialized.",
                               "beep 1000 500", "close"}));
}

TEST_F(CardControl, InitCardKeepsTheMapTextOfAValidCalibration) {
    AnswerLikeACard(device, 1);
    device.Then(Answer(0));
    device.Then(AnswerParameters({{18, {'V', '1', '.', '4', '9'}}}));
    device.Then(AnswerBytes({0}));
    device.Then([](ScriptedDevice::Request& r) {
        const uint8_t points[] = {2, 40, 200, 80, 100};
        std::copy(points, points + sizeof points, r.data + 8);
        r.result = 0;
    });
    uint8_t sync = 0;
    EXPECT_EQ(InitCard(driver, sync, 0, 0), 0);
    EXPECT_EQ(driver.card.rssiMapMarker, '+');
    EXPECT_STREQ(driver.card.rssiMapText, "<-40dBm:200> <-80dBm:100> ");
}

TEST_F(CardControl, SynchToMasterOnAnotherMasterGivesMinusOneAfterABoundedWait) {
    AnswerLikeACard(device, 1);
    device.Then(AnswerParameters({{17, {1}}}));
    const char name[12] = "";
    EXPECT_EQ(SynchToMaster(driver, 0, 1, 2, 3, name, "0000000000ff"), -1);
    EXPECT_GE(clock.NowMs(), kSynchConfirmSeconds * 1000);
    EXPECT_STREQ(driver.card.masterAddress, "000000000001");
}

TEST_F(CardControl, SynchToMasterNeverSynchronisedGivesMinusTwoAfterTenThousandPolls) {
    AnswerLikeACard(device, 0);
    device.Then(AnswerParameters({{17, {1}}}));
    const char name[12] = "";
    EXPECT_EQ(SynchToMaster(driver, 0, 1, 2, 3, name, "000000000001"), -2);
    EXPECT_EQ(device.sentBlocks.size(), 3u + 10000u);
    EXPECT_EQ(host.mousePumps, 9999);
}

}  // namespace
}  // namespace vz
