// The emulated card seen through the real driver layer: devices, synchronisation, search,
// security ID, locking, roaming and the card as a Master.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "driver/card_control.h"
#include "driver/request_block.h"
#include "driver/status_queries.h"
#include "emulator/tests/emulated_card.h"

namespace vz {
namespace {

const std::string kWorld =
    "system nt 4\n"
    "device davuziro 3\n"
    "card address=00a0d4000001 driver=\"V1.2.4\" rom=\"V1.49b \" country=1\n"
    "config domain=3\n"
    "master 00a0d4000a01 name=\"Alpha\" domain=3 channel=5 subchannel=2 signal=-50\n"
    "master 00a0d4000a02 name=\"Charlie\" domain=3 channel=6 subchannel=3 signal=-70\n"
    "master 00a0d4000a03 name=\"Beta\" domain=3 signal=-40 security-id=\"kiwi\"\n"
    "master 00a0d4000b01 name=\"Delta\" domain=7 signal=-60\n"
    "master 00a0d4000b02 name=\"Faint\" domain=7 signal=-97\n"
    "timing sync-ms=1500 lock-ms=300 dwell-ms=250 service-us=0\n"
    "seed 11\n";

struct MasterView {
    int status = 0;
    uint8_t sync = 0;
    char address[kNodeAddressTextSize] = "";
    char name[kMasterNameSize] = "";
    char node[kNodeAddressTextSize] = "";
    uint8_t channel = 0, subchannel = 0;
};

MasterView ReadMaster(Driver& driver) {
    MasterView v;
    MasterReading r;
    v.status = StatusCode(GetMasterNode(driver, r));
    v.sync = r.syncState;
    std::memcpy(v.address, r.address, sizeof v.address);
    std::memcpy(v.name, r.name, sizeof v.name);
    std::memcpy(v.node, r.nodeAddress, sizeof v.node);
    v.channel = r.channel;
    v.subchannel = r.subchannel;
    return v;
}

MasterReading Wanted(const char* name, const char* address, uint8_t channel, uint8_t subchannel) {
    MasterReading wanted;
    std::strcpy(wanted.name, name);
    std::strcpy(wanted.address, address);
    wanted.channel = channel;
    wanted.subchannel = subchannel;
    return wanted;
}

struct DeviceCase {
    const char* devices;
    int opened;
    const char* dosName;
};

class DeviceNames : public testing::TestWithParam<DeviceCase> {};

TEST_P(DeviceNames, OpenDriverFindsWhatTheScenarioInstalled) {
    EmulatedCard card(std::string(GetParam().devices) + "seed 1\n");
    EXPECT_EQ(OpenDriver(card.driver), GetParam().opened);
    EXPECT_STREQ(card.driver.dosName, GetParam().dosName);
    if (GetParam().opened == 0) {
        char version[32] = "";
        EXPECT_EQ(GetDriverVersion(card.driver, version), 0);
        EXPECT_STREQ(version, "V1.2.4");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Machines, DeviceNames,
    testing::Values(DeviceCase{"system nt 4\ndevice davuziro 3\n", 0, "DAVUZIRO3"},
                    DeviceCase{"system nt 3\ndevice davuziro 1\ndevice davuziro 2\n", 0,
                               "DAVUZIRO1"},
                    DeviceCase{"system win95 4\ndevice zeruve\n", 0, ""},
                    DeviceCase{"system win95 4\ndevice davuziro 1\n", -1, ""},
                    DeviceCase{"system nt 4\ndevice zeruve\n", -1, ""}));

TEST(DeviceNames, NtDeviceOpensOnlyThroughItsDosName) {
    EmulatedCard card(kWorld);
    EXPECT_EQ(card.io.OpenDevice("\\\\.\\DAVUZIRO3"), kInvalidDeviceHandle);
    EXPECT_TRUE(card.io.DefineDosDevice(kDddRawTargetPath, "DAVUZIRO3", "\\Device\\DAVUZIRO3"));
    const DeviceHandle handle = card.io.OpenDevice("\\\\.\\davuziro3");
    EXPECT_NE(handle, kInvalidDeviceHandle);
    EXPECT_TRUE(card.io.DefineDosDevice(kDddRemoveDefinition, "DAVUZIRO3", nullptr));
    EXPECT_EQ(card.io.OpenDevice("\\\\.\\DAVUZIRO3"), kInvalidDeviceHandle);
    card.io.CloseDevice(handle);
    EXPECT_EQ(card.emulator.Counters().closes, 1u);

    // Names match in any case; a longer number is another device; an ejected card opens nothing.
    EXPECT_TRUE(card.io.DefineDosDevice(kDddRawTargetPath, "davuziro3", "\\device\\davuziro3"));
    EXPECT_EQ(card.io.OpenDevice("\\\\.\\DAVUZIRO30"), kInvalidDeviceHandle);
    EXPECT_EQ(card.emulator.Control("eject"), "OK");
    EXPECT_EQ(card.io.OpenDevice("\\\\.\\DAVUZIRO3"), kInvalidDeviceHandle);
    EXPECT_EQ(card.emulator.Control("insert"), "OK");
    EXPECT_NE(card.io.OpenDevice("\\\\.\\DAVUZIRO3"), kInvalidDeviceHandle);
    EXPECT_TRUE(card.io.DefineDosDevice(kDddRemoveDefinition, "DAVUZIRO3", nullptr));
    EXPECT_FALSE(card.io.DefineDosDevice(kDddRemoveDefinition, "Davuziro3", nullptr));
}

TEST(DeviceNames, DefinitionsStackPerNameAndStayBounded) {
    EmulatedCard card(kWorld);
    const auto opens = [&] {
        const DeviceHandle handle = card.io.OpenDevice("\\\\.\\DAVUZIRO3");
        card.io.CloseDevice(handle);
        return handle != kInvalidDeviceHandle;
    };
    const auto define = [&](const char* name, const char* target) {
        return card.io.DefineDosDevice(kDddRawTargetPath, name, target);
    };
    const auto remove = [&](const char* name) {
        return card.io.DefineDosDevice(kDddRemoveDefinition, name, nullptr);
    };
    ASSERT_TRUE(define("DAVUZIRO3", "\\Device\\DAVUZIRO3"));
    ASSERT_TRUE(define("DAVUZIRO3", "\\Device\\DAVUZIRO3"));  // the same again does not stack
    ASSERT_TRUE(define("OTHER", "\\Device\\Other"));
    ASSERT_TRUE(define("davuziro3", "\\Device\\DAVUZIRO7"));  // a card that is not there
    EXPECT_FALSE(opens());
    ASSERT_TRUE(remove("DAVUZIRO3"));  // the earlier definition is in force again
    EXPECT_TRUE(opens());
    ASSERT_TRUE(remove("DAVUZIRO3"));
    EXPECT_FALSE(opens());
    EXPECT_FALSE(remove("DAVUZIRO3"));
    EXPECT_TRUE(remove("OTHER"));

    for (size_t n = 0; n < Emulator::kMaxDosDefinitions; ++n) {
        ASSERT_TRUE(define(("N" + std::to_string(n)).c_str(), "\\Device\\Other")) << n;
    }
    EXPECT_FALSE(define("DAVUZIRO3", "\\Device\\DAVUZIRO3"));
    ASSERT_TRUE(remove("N0"));
    EXPECT_TRUE(define("DAVUZIRO3", "\\Device\\DAVUZIRO3"));
    EXPECT_TRUE(opens());
}

TEST(Synchronisation, FollowsReinitialisationAfterTheScenarioDelay) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    uint8_t sync = 0;
    ASSERT_EQ(DriverCommand(card.driver, kCmdInitCard, 0, 0, nullptr, 0), 0);
    card.clock.Advance(1499);
    ASSERT_EQ(GetSyncState(card.driver, sync), 0);
    EXPECT_EQ(sync, 0);
    card.clock.Advance(1);
    ASSERT_EQ(GetSyncState(card.driver, sync), 0);
    EXPECT_NE(sync, 0);

    const uint32_t start = card.clock.NowMs();
    ASSERT_EQ(InitCard(card.driver, sync, 0, 0), 0);
    EXPECT_NE(sync, 0);
    EXPECT_GE(card.clock.NowMs() - start, 1500u);
    EXPECT_STREQ(card.driver.card.masterAddress, "00a0d4000a01");  // the strongest it may join
    EXPECT_STREQ(card.driver.card.masterName, "Alpha");
    EXPECT_STREQ(card.driver.card.nodeAddress, "00a0d4000001");
    EXPECT_STREQ(card.driver.card.romVersion, "V1.49b ");
    EXPECT_EQ(card.driver.card.countryCode, 1);
    EXPECT_EQ(card.driver.card.rssiMapMarker, '+');
    const MasterView v = ReadMaster(card.driver);
    EXPECT_EQ(v.channel, 5);
    EXPECT_EQ(v.subchannel, 2);
}

struct SecurityCase {
    const char* securityId;
    const char* master;  // empty: never synchronises
};

class SecurityId : public testing::TestWithParam<SecurityCase> {};

TEST_P(SecurityId, DecidesWhichMastersTheCardHears) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    ASSERT_EQ(SetSecurityId(card.driver, GetParam().securityId), 0);
    uint8_t sync = 0;
    ASSERT_EQ(InitCard(card.driver, sync, 0, 0), 0);
    EXPECT_EQ(sync != 0, GetParam().master[0] != '\0');
    if (sync) {
        EXPECT_STREQ(card.driver.card.masterAddress, GetParam().master);
    }
    EXPECT_EQ(card.emulator.Config().securityId, GetParam().securityId);
}

INSTANTIATE_TEST_SUITE_P(Ids, SecurityId,
                         testing::Values(SecurityCase{"", "00a0d4000a01"},
                                         SecurityCase{"kiwi", "00a0d4000a03"},
                                         SecurityCase{"other", ""}));

TEST(SecurityId, ChangedWhileSynchronisedDropsTheMaster) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    uint8_t sync = 0;
    ASSERT_EQ(GetSyncState(card.driver, sync), 0);
    EXPECT_NE(sync, 0);  // a card that has long been running starts synchronised
    ASSERT_EQ(SetSecurityId(card.driver, "other"), 0);
    ASSERT_EQ(GetSyncState(card.driver, sync), 0);
    EXPECT_EQ(sync, 0);
    // 21 bytes without a terminator are not a security ID.
    uint8_t tooLong[24];
    std::memset(tooLong, 'x', sizeof tooLong);
    EXPECT_EQ(DriverCommand(card.driver, kCmdSetSecurityId, 0, 21, tooLong, sizeof tooLong), -1);
    EXPECT_EQ(card.emulator.Config().securityId, "other");
}

struct SearchCase {
    uint8_t domain;
    std::set<std::string> masters;
};

class MasterSearch : public testing::TestWithParam<SearchCase> {};

TEST_P(MasterSearch, ReportsEachMasterOfTheDomainInTurn) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    ASSERT_EQ(ClearMasterAddr(card.driver), 0);
    ASSERT_EQ(StartMasterSearch(card.driver, GetParam().domain), 0);
    std::set<std::string> seen;
    for (int tick = 0; tick < 15; ++tick) {  // the Master list listens 1.5 s per domain
        card.clock.Advance(100);
        const MasterView v = ReadMaster(card.driver);
        ASSERT_EQ(v.status, 0);
        if (v.sync) {
            seen.insert(v.address);
        }
    }
    EXPECT_EQ(seen, GetParam().masters);
    EXPECT_EQ(StopSearch(card.driver), 0);
    EXPECT_EQ(StopSearch(card.driver), 1);  // nothing left to stop: still a normal answer
}

INSTANTIATE_TEST_SUITE_P(
    Domains, MasterSearch,
    testing::Values(SearchCase{3, {"00a0d4000a01", "00a0d4000a02"}},
                    SearchCase{7, {"00a0d4000b01"}},  // the faint one is below sensitivity
                    SearchCase{9, {}}));

TEST(SearchSynchronous, LocksOntoTheNamedMasterOrNever) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    EXPECT_EQ(SynchToMaster(card.driver, 0, 3, Wanted("Charlie", "00a0d4000a02", 6, 3)), 0);
    EXPECT_STREQ(card.driver.card.masterName, "Charlie");
    card.clock.Advance(60000);  // held on the weaker Master: roaming is off after the lock
    EXPECT_STREQ(ReadMaster(card.driver).address, "00a0d4000a02");

    EXPECT_EQ(SynchToMaster(card.driver, 0, 3, Wanted("Nobody", "00a0d4000c09", 1, 1)),
              kStatusNoSync);
}

TEST(Roaming, FollowsTheStrongerMasterOnlyWhileEnabled) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    ASSERT_EQ(SetRoamingFlag(card.driver, 1), 0);  // held
    EXPECT_EQ(card.emulator.Control("master 00a0d4000a02 signal=-40"), "OK");
    EXPECT_STREQ(ReadMaster(card.driver).address, "00a0d4000a01");
    ASSERT_EQ(SetRoamingFlag(card.driver, 0), 0);  // roaming
    EXPECT_STREQ(ReadMaster(card.driver).address, "00a0d4000a02");

    // A silenced Master is lost; the next one is joined after the synchronisation delay.
    EXPECT_EQ(card.emulator.Control("silence 00a0d4000a02"), "OK");
    EXPECT_EQ(ReadMaster(card.driver).sync, 0);
    card.clock.Advance(1500);
    EXPECT_STREQ(ReadMaster(card.driver).address, "00a0d4000a01");
}

TEST(StationType, MasterAndAlternateMasterReportThemselves) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    CardOptions options;
    options.masterSettings = true;
    options.stationType = "Master";
    options.masterName = "Home";
    options.channel = "4";
    options.subchannel = "9";
    options.domain = "3";
    ASSERT_EQ(SetCardOptions(card.driver, options), 0);
    uint8_t sync = 0;
    ASSERT_EQ(InitCard(card.driver, sync, 0, 0), 0);
    EXPECT_NE(sync, 0);
    EXPECT_STREQ(card.driver.card.masterAddress, card.driver.card.nodeAddress);
    EXPECT_STREQ(card.driver.card.masterName, "Home");
    EXPECT_EQ(ReadMaster(card.driver).channel, 4);

    // An Alternate Master with no Master in its domain opens the cell itself.
    ASSERT_EQ(SetDomain(card.driver, "12"), 0);
    ASSERT_EQ(SetStationType(card.driver, kStationTypeAlternateMaster), 0);
    ASSERT_EQ(InitCard(card.driver, sync, 0, 1), 0);
    EXPECT_NE(sync, 0);
    EXPECT_STREQ(card.driver.card.masterAddress, "00a0d4000001");
}

TEST(CardSettings, AreKeptAndCountedPerCommand) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    CardOptions options;
    options.masterSettings = true;
    options.stationType = "Alternate Master";
    options.masterName = "Upstairs";
    options.domain = "7";
    options.macOptimize = "Light";
    options.roamConfig = "Slow";
    options.peerToPeer = false;
    options.inactivitySecondsIndex = 3;
    options.inactivityMinutes = 2;
    ASSERT_EQ(SetCardOptions(card.driver, options), 0);
    ASSERT_EQ(ReleaseCard(card.driver), 0);
    const CardConfig& c = card.emulator.Config();
    EXPECT_EQ(c.stationType, 1);
    EXPECT_EQ(c.masterName, "Upstairs");
    EXPECT_EQ(c.domain, 7);
    EXPECT_EQ(c.macOptimize, 1);
    EXPECT_EQ(c.roamConfig, 0);
    EXPECT_EQ(c.peerToPeer, 0);
    EXPECT_EQ(c.inactivity, 27);
    EXPECT_TRUE(card.emulator.Released());
    EXPECT_EQ(RestartDriver(card.driver), 0);
    EXPECT_FALSE(card.emulator.Released());
    const auto& requests = card.emulator.Counters().requests;
    EXPECT_EQ(requests[kCmdSetDriverData], 1u);
    EXPECT_EQ(requests[kCmdSetMacOptimize], 1u);
    EXPECT_EQ(requests[kCmdSetRoamConfig], 1u);
    EXPECT_EQ(requests[kCmdReleaseCard], 1u);
}

}  // namespace
}  // namespace vz
