// Request blocks the emulator must survive and the faults it injects on purpose.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "driver/card_control.h"
#include "driver/le_bytes.h"
#include "driver/parameter_list.h"
#include "driver/ping.h"
#include "driver/request_block.h"
#include "driver/status_queries.h"
#include "emulator/core/random.h"
#include "emulator/tests/checked_fault.h"
#include "emulator/tests/emulated_card.h"

namespace vz {
namespace {

const std::string kWorld =
    "system nt 4\n"
    "device davuziro 1\n"
    "config domain=2\n"
    "master 00a0d4000a01 name=\"Alpha\" domain=2 signal=-50\n"
    "node 00a0d4000c01 signal=-60\n"
    "node 00a0d4000c02 signal=-70\n"
    "timing sync-ms=500 service-us=0\n";

TEST(ParameterList, EntriesTheCardDoesNotHandleKeepStatusUnset) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    ParameterList list;
    uint8_t value[12] = {};
    for (uint16_t id : {1, 2, 10, 13, 16, 19, 18}) {
        ASSERT_TRUE(list.Append(id, value));
    }
    uint8_t buffer[128];
    std::memcpy(buffer, list.Bytes(), list.Length());
    ASSERT_EQ(
        DriverCommand(card.driver, kCmdGetDriverData, 0, list.Length(), buffer, sizeof buffer), 0);
    for (uint16_t id : {1, 2, 10, 13, 16}) {
        EXPECT_EQ(GetfromDataList(buffer, list.Length(), id, value), -1) << id;
    }
    EXPECT_EQ(GetfromDataList(buffer, list.Length(), 19, value), 0);
    EXPECT_EQ(GetfromDataList(buffer, list.Length(), 18, value), 0);

    // Read-only parameters and values out of range are refused on a set.
    for (uint16_t id : {6, 18, 21}) {
        ParameterList set;
        set.Append(id, value);
        uint8_t setBuffer[64];
        std::memcpy(setBuffer, set.Bytes(), set.Length());
        EXPECT_EQ(DriverCommand(card.driver, kCmdSetDriverData, 0, set.Length(), setBuffer,
                                sizeof setBuffer),
                  -1)
            << id;
    }
    EXPECT_EQ(SetDomain(card.driver, "16"), -1);
    EXPECT_EQ(card.emulator.Config().domain, 2);
}

struct MalformedList {
    const char* what;
    std::vector<uint8_t> bytes;
};

class MalformedLists : public testing::TestWithParam<MalformedList> {};

TEST_P(MalformedLists, AreRefusedWithoutReadingPastTheRequest) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    std::vector<uint8_t> bytes = GetParam().bytes;
    bytes.resize(bytes.size() + 16, 0);  // room for the reply; the length sent stays short
    EXPECT_EQ(DriverCommand(card.driver, kCmdGetDriverData, 0, uint32_t(GetParam().bytes.size()),
                            bytes.data(), bytes.size()),
              -1);
    EXPECT_EQ(card.emulator.Counters().malformedLists, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, MalformedLists,
    testing::Values(MalformedList{"empty", {}}, MalformedList{"half a terminator", {0}},
                    MalformedList{"no terminator", {19, 0, 0xff, 0xff, 1, 0, 0}},
                    MalformedList{"unknown id", {25, 0, 0xff, 0xff, 1, 0, 0, 0, 0}},
                    MalformedList{"entry past the end", {21, 0, 0xff, 0xff, 12, 0, 1, 2, 3}}));

TEST(RequestBlocks, RandomBlocksAreAnsweredWithinTheirBounds) {
    EmulatedCard card(kWorld);
    EmulatorRandom random(3);
    uint8_t block[kRequestBlockSize + 8];
    for (int i = 0; i < 20000; ++i) {
        for (uint8_t& b : block) {
            b = uint8_t(random.Next());
        }
        PutU32(block, random.Below(26) | (random.Chance(0.05) ? 0x1000000u : 0));
        PutU32(block + kRequestLengthOffset,
               random.Chance(0.1) ? uint32_t(random.Next()) : random.Below(2001));
        const ServeOutcome outcome = card.emulator.Serve(block, kRequestBlockSize);
        EXPECT_FALSE(outcome.drop);
        EXPECT_LE(GetU32(block + kRequestLengthOffset), kRequestDataSize);
    }
    uint8_t small[16] = {};
    EXPECT_TRUE(card.emulator.Serve(small, sizeof small).ioError);
}

TEST(RequestBlocks, WrongCodeInputOrHandleFailsTheCall) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    uint8_t in[4];
    PutU32(in, kDriverInputWord);
    uint8_t block[kRequestBlockSize] = {};
    EXPECT_EQ(card.io.IoControl(card.driver.handle, 0x170006, in, 4, block, sizeof block).lastError,
              kErrorInvalidFunction);
    PutU32(in, 0);
    EXPECT_EQ(
        card.io.IoControl(card.driver.handle, kDriverIoControlCode, in, 4, block, sizeof block)
            .lastError,
        kErrorInvalidParameter);
    PutU32(in, kDriverInputWord);
    EXPECT_EQ(
        card.io.IoControl(card.driver.handle + 1, kDriverIoControlCode, in, 4, block, sizeof block)
            .lastError,
        kErrorInvalidHandle);
    EXPECT_TRUE(
        card.io.IoControl(card.driver.handle, kDriverIoControlCode, in, 4, block, sizeof block)
            .succeeded);
}

struct FaultCase {
    const char* fault;
    int first;   // GetSyncState right after the fault was set
    int second;  // and the request after that
    FaultKind kind;
};

class InjectedFault : public testing::TestWithParam<FaultCase> {};

TEST_P(InjectedFault, FiresAsToldAndIsCounted) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    const CheckedFault fault(card.emulator, GetParam().fault);
    uint8_t sync = 0;
    EXPECT_EQ(GetSyncState(card.driver, sync), GetParam().first);
    EXPECT_EQ(GetSyncState(card.driver, sync), GetParam().second);
    EXPECT_EQ(card.emulator.Faults().Fired(GetParam().kind), 1u);
    EXPECT_NE(card.emulator.Control("counters")
                  .find(std::string("fired-") + FaultKindName(GetParam().kind) + "=1"),
              std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, InjectedFault,
    testing::Values(FaultCase{"fault fail cmd=3 status=-4", -4, 0, FaultKind::kFail},
                    FaultCase{"fault fail cmd=3 status=-4 nth=2", 0, -4, FaultKind::kFail},
                    FaultCase{"fault unset-status param=19", -1, 0, FaultKind::kUnsetStatus},
                    FaultCase{"fault ioerror error=31", -9, 0, FaultKind::kIoError},
                    FaultCase{"fault ioerror error=259 cmd=3", 0, 0, FaultKind::kIoError},
                    FaultCase{"fault slow ms=250 cmd=3", 0, 0, FaultKind::kSlow},
                    // A lost channel stays lost until the program reopens it.
                    FaultCase{"fault drop", -9, -9, FaultKind::kDrop}));

TEST(InjectedFault, SlowReplyTakesItsTime) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    const CheckedFault fault(card.emulator, "fault slow ms=250 cmd=3 count=2");
    uint8_t sync = 0;
    const uint32_t start = card.clock.NowMs();
    GetSyncState(card.driver, sync);
    GetSyncState(card.driver, sync);
    GetSyncState(card.driver, sync);
    EXPECT_EQ(card.clock.NowMs() - start, 500u);
}

TEST(InjectedFault, LengthAbove2000CopiesNothingBack) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    const CheckedFault fault(card.emulator, "fault length cmd=2 value=2001");
    char version[32];
    std::memset(version, 'Z', sizeof version);
    EXPECT_EQ(DriverCommand(card.driver, kCmdGetDriverVersion, 0, 0,
                            reinterpret_cast<uint8_t*>(version), sizeof version),
              0);
    EXPECT_EQ(version[0], 'Z');
}

TEST(InjectedFault, BusyTransmitterMakesSendPingDrainAndRetry) {
    EmulatedCard card(kWorld);
    ASSERT_EQ(OpenDriver(card.driver), 0);
    uint8_t sync = 0, id = 0;
    uint32_t sent = 0;
    ASSERT_EQ(SendPing(card.driver, kBroadcastAddress, 100, 0, sync, sent, id), 0);
    card.clock.Advance(100);  // three answers wait in the card
    const CheckedFault fault(card.emulator, "fault busy status=-6");
    const auto before = card.emulator.Counters().requests;
    ASSERT_EQ(SendPing(card.driver, "00a0d4000c01", 100, kPingKindDirected, sync, sent, id), 0);
    const auto& after = card.emulator.Counters().requests;
    EXPECT_EQ(after[kCmdTransmitPing] - before[kCmdTransmitPing], 2u);
    EXPECT_EQ(after[kCmdReceivePing] - before[kCmdReceivePing], 4u);  // 1, 1, 1, 0
    EXPECT_EQ(card.emulator.Faults().Fired(FaultKind::kBusy), 1u);
}

TEST(InjectedFault, LostChannelRecoversThroughOpenDriverAndRestartDriver) {
    for (const char* fault : {"fault drop cmd=3 nth=2", "drop-clients"}) {
        EmulatedCard card(kWorld);
        ASSERT_EQ(OpenDriver(card.driver), 0);
        uint8_t sync = 0;
        std::unique_ptr<CheckedFault> checked;
        if (std::string(fault) == "drop-clients") {
            ASSERT_EQ(card.emulator.Control(fault), "OK");
        } else {
            checked = std::make_unique<CheckedFault>(card.emulator, fault);
            EXPECT_EQ(GetSyncState(card.driver, sync), 0);
        }
        EXPECT_EQ(GetSyncState(card.driver, sync), kStatusChannelLost) << fault;
        EXPECT_EQ(RestartDriver(card.driver), kStatusChannelLost);
        ASSERT_EQ(OpenDriver(card.driver), 0);
        EXPECT_EQ(RestartDriver(card.driver), 0);
        EXPECT_EQ(GetSyncState(card.driver, sync), 0);
        EXPECT_NE(sync, 0);
    }
}

TEST(Control, ChangesTheWorldAndRefusesWhatItCannotRead) {
    EmulatedCard card(kWorld);
    EXPECT_EQ(card.emulator.Control("node 00a0d4000c09 signal=-61 answer=0.5"), "OK");
    EXPECT_EQ(card.emulator.World().nodes.size(), 3u);
    EXPECT_EQ(card.emulator.Control("node 00a0d4000c09 signal=-40"), "OK");  // an update
    EXPECT_EQ(card.emulator.World().nodes.back().signalDbm, -40);
    EXPECT_EQ(card.emulator.World().nodes.back().answer, 0.5);
    EXPECT_EQ(card.emulator.Control("remove node 00a0d4000c09"), "OK");
    EXPECT_EQ(card.emulator.World().nodes.size(), 2u);
    EXPECT_EQ(card.emulator.Control("silence 00a0d4000a01"), "OK");
    EXPECT_NE(card.emulator.Control("state").find(" synced=0 "), std::string::npos);
    EXPECT_EQ(card.emulator.Control("fault clear"), "OK");
    EXPECT_EQ(card.emulator.Control("reset-counters"), "OK");
    for (const char* bad :
         {"", "launch", "node 00a0d4000c01 signal=9", "remove node", "silence 123", "seed 4",
          "fault fail cmd=3", "state extra", "node 00a0d4000c77 answer=1"}) {
        EXPECT_EQ(card.emulator.Control(bad).compare(0, 4, "ERR "), 0) << bad;
    }
    EXPECT_EQ(card.emulator.World().nodes.size(), 2u);
}

}  // namespace
}  // namespace vz
