// SendPing: the record sent, and the busy transmitter's one retransmission.
#include "driver/ping.h"
#include "driver/tests/driver_fixture.h"

namespace vz {
namespace {

using Step = ScriptedDevice::Step;

Step Synchronised(uint8_t state) {
    return AnswerParameters({{kParamSyncState, {state}}});
}

Step Transmitted(uint32_t time, uint8_t id) {
    return [=](ScriptedDevice::Request& r) {
        PutU32(r.data + 8, time);
        r.data[12] = id;
        r.result = 0;
    };
}

struct SendCase {
    const char* name;
    const char* address;
    uint32_t payload;
    std::vector<Step> steps;
    int status;
    Commands commands;
    std::string outputs;  // sync state, transmit time and ping id after the call
    Bytes record;         // the first 18 bytes of the last ping sent, if one was
    Strings reports;
};

const Bytes kBroadcastRecord = {
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, kPingKindDirected, 0, 0, 0, 0, 0, 0, 0, 0xDC, 0x05, 0, 0};

// clang-format off
const SendCase kSendCases[] = {
    {"NotSynchronisedSendsNothing", kBroadcastAddress, 1500, {Synchronised(0)}, 0,
     {kCmdGetDriverData}, "0 57005 238"},
    {"RecordCarriesAddressKindAndLength", "0a0B0c0d0e0f", 0, {Synchronised(1), Transmitted(9, 42)},
     0, {kCmdGetDriverData, kCmdTransmitPing}, "1 9 42",
     {0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f, kPingKindDirected, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"LengthBoundedShortAddressZeroFilled", "12345", 5000, {Synchronised(1), Transmitted(1, 1)}, 0,
     {kCmdGetDriverData, kCmdTransmitPing}, "1 1 1",
     {0x12, 0x34, 0, 0, 0, 0, kPingKindDirected, 0, 0, 0, 0, 0, 0, 0, 0xDC, 0x05, 0, 0}},
    {"BusyDrainsReceivedPingsAndSendsOnceMore", kBroadcastAddress, 1500,
     {Synchronised(1), Answer(-6), Answer(kStatusPending), Answer(kStatusPending), Answer(0),
      Synchronised(1), Transmitted(77, 5)}, 0,
     {kCmdGetDriverData, kCmdTransmitPing, kCmdReceivePing, kCmdReceivePing, kCmdReceivePing,
      kCmdGetDriverData, kCmdTransmitPing}, "1 77 5", kBroadcastRecord},
    {"BusyTwiceReportsTheSecondSend", kBroadcastAddress, 1500,
     {Synchronised(1), Answer(-7), Answer(0), Synchronised(1), Answer(-7)}, -7,
     {kCmdGetDriverData, kCmdTransmitPing, kCmdReceivePing, kCmdGetDriverData, kCmdTransmitPing},
     "1 57005 238", kBroadcastRecord, {"-7 TransmitPing 2 in SendPing"}},
    {"FailedDrainSendsNothingMore", kBroadcastAddress, 1500,
     {Synchronised(1), Answer(-6), Answer(kStatusPending), Answer(-4)}, -4,
     {kCmdGetDriverData, kCmdTransmitPing, kCmdReceivePing, kCmdReceivePing}, "1 57005 238", {},
     {"-4 ReceivePing in SendPing"}},
    {"SynchronisationLostWhileBusy", kBroadcastAddress, 1500,
     {Synchronised(1), Answer(-5), Answer(0), Synchronised(0)}, 0,
     {kCmdGetDriverData, kCmdTransmitPing, kCmdReceivePing, kCmdGetDriverData}, "0 57005 238"},
};
// clang-format on

class PingTest : public OpenDriverTest {
  protected:
    int Send(const char* address, uint32_t payload) {
        return SendPing(driver, address, payload, kPingKindDirected, sync, transmitTime, pingId);
    }
    uint8_t sync = 7;
    uint32_t transmitTime = 0xDEAD;
    uint8_t pingId = 0xEE;
};

class SendPingCases : public PingTest, public ::testing::WithParamInterface<SendCase> {};

TEST_P(SendPingCases, SendWhenSynchronised) {
    const SendCase& c = GetParam();
    for (const Step& step : c.steps) {
        device.Then(step);
    }
    EXPECT_EQ(Send(c.address, c.payload), c.status);
    EXPECT_EQ(SentCommands(), c.commands);
    EXPECT_EQ(
        std::to_string(sync) + " " + std::to_string(transmitTime) + " " + std::to_string(pingId),
        c.outputs);
    if (!c.record.empty()) {
        const Bytes sent = SentData();
        EXPECT_EQ(sent.size(), kPingRecordSize);
        EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 18), c.record);
    }
    EXPECT_EQ(reports, c.reports);
}

INSTANTIATE_TEST_SUITE_P(Cases, SendPingCases, ::testing::ValuesIn(kSendCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PingTest, ADriverThatNeverStopsOfferingPingsDoesNotHoldTheSender) {
    device.Then(Synchronised(1));
    device.Then(Answer(-5));
    device.Otherwise(Answer(kStatusPending));
    EXPECT_LE(Send(kBroadcastAddress, 60), kStatusPending);
    EXPECT_LT(device.sentBlocks.size(), 1100u);
}

}  // namespace
}  // namespace vz
