// Ping primitives: what is sent, the busy-transmitter path, and received pings.
#include "driver/ping.h"
#include "driver/tests/driver_fixture.h"

namespace vz {
namespace {

using Bytes = std::vector<uint8_t>;

class Ping : public DriverTest {
  protected:
    void SetUp() override { Open(); }

    int Send(const char* address, uint32_t payload) {
        return SendPing(driver, address, payload, kPingKindDirected, sync, transmitTime, pingId);
    }

    uint8_t sync = 7;
    uint32_t transmitTime = 0xDEAD;
    uint8_t pingId = 0xEE;
};

ScriptedDevice::Step Synchronised(uint8_t state) {
    return AnswerParameters({{19, {state}}});
}

ScriptedDevice::Step Transmitted(int32_t result, uint32_t time, uint8_t id) {
    return [=](ScriptedDevice::Request& r) {
        PutU32(r.data + 8, time);
        r.data[12] = id;
        r.result = result;
    };
}

TEST_F(Ping, NotSynchronisedSendsNothingAndLeavesTheOutputs) {
    device.Then(Synchronised(0));
    EXPECT_EQ(Send("ffffffffffff", 1500), 0);
    EXPECT_EQ(sync, 0);
    EXPECT_EQ(transmitTime, 0xDEADu);
    EXPECT_EQ(pingId, 0xEE);
    EXPECT_EQ(SentCommands(), (std::vector<uint32_t>{3}));
}

TEST_F(Ping, RecordCarriesAddressKindAndPayloadLength) {
    device.Then(Synchronised(1));
    device.Then(Transmitted(0, 123456, 42));
    EXPECT_EQ(Send("0a0B0c0d0e0f", 0), 0);
    EXPECT_EQ(transmitTime, 123456u);
    EXPECT_EQ(pingId, 42);
    const Bytes record = SentData();
    ASSERT_EQ(record.size(), 1518u);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 18),
              (Bytes{0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Ping, PayloadLengthIsBoundedAndShortAddressesLeaveZeroBytes) {
    device.Then(Synchronised(1));
    device.Then(Transmitted(0, 1, 1));
    Send("12345", 5000);
    const Bytes record = SentData();
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 6), (Bytes{0x12, 0x34, 0, 0, 0, 0}));
    EXPECT_EQ(GetU32(&record[14]), 1500u);
}

TEST_F(Ping, BusyTransmitterDrainsReceivedPingsAndSendsOnceMore) {
    device.Then(Synchronised(1));
    device.Then(Answer(-6));
    device.Then(Answer(1));
    device.Then(Answer(1));
    device.Then(Answer(0));
    device.Then(Synchronised(1));
    device.Then(Transmitted(0, 77, 5));
    EXPECT_EQ(Send("ffffffffffff", 1500), 0);
    EXPECT_EQ(SentCommands(), (std::vector<uint32_t>{3, 18, 17, 17, 17, 3, 18}));
    EXPECT_EQ(transmitTime, 77u);
    EXPECT_EQ(pingId, 5);
    EXPECT_EQ(GetU32(&SentData()[14]), 1500u);
}

TEST_F(Ping, BusyTransmitterTwiceReportsTheSecondSend) {
    device.Then(Synchronised(1));
    device.Then(Answer(-7));
    device.Then(Answer(0));
    device.Then(Synchronised(1));
    device.Then(Answer(-7));
    EXPECT_EQ(Send("ffffffffffff", 60), -7);
    EXPECT_EQ(reports, (std::vector<std::string>{"-7 TransmitPing 2 in SendPing"}));
}

TEST_F(Ping, FailedDrainIsReportedAndNothingIsSentAgain) {
    device.Then(Synchronised(1));
    device.Then(Answer(-6));
    device.Then(Answer(1));
    device.Then(Answer(-4));
    EXPECT_EQ(Send("ffffffffffff", 60), -4);
    EXPECT_EQ(SentCommands(), (std::vector<uint32_t>{3, 18, 17, 17}));
    EXPECT_EQ(reports, (std::vector<std::string>{"-4 ReceivePing in SendPing"}));
}

TEST_F(Ping, SynchronisationLostWhileBusyReturnsWithoutSending) {
    device.Then(Synchronised(1));
    device.Then(Answer(-5));
    device.Then(Answer(0));
    device.Then(Synchronised(0));
    EXPECT_EQ(Send("ffffffffffff", 60), 0);
    EXPECT_EQ(sync, 0);
    EXPECT_EQ(SentCommands(), (std::vector<uint32_t>{3, 18, 17, 3}));
    EXPECT_EQ(pingId, 0xEE);
}

TEST_F(Ping, DriverThatNeverStopsOfferingPingsDoesNotHoldTheSender) {
    device.Then(Synchronised(1));
    device.Then(Answer(-5));
    device.Otherwise(Answer(1));
    EXPECT_LE(Send("ffffffffffff", 60), 1);
    EXPECT_LT(device.sentBlocks.size(), 1100u);
}

TEST_F(Ping, ReceivedPingIsConvertedThroughTheTable) {
    driver.card.rssiPercent[180] = 80;
    device.Then([](ScriptedDevice::Request& r) {
        const uint8_t source[6] = {0, 0x40, 0x96, 0xAA, 0xBB, 0xCC};
        std::copy(source, source + 6, r.data);
        r.data[12] = 180;
        PutU32(r.data + 14, 1500);
        r.length = 1518;
        r.result = 1;
    });
    char source[13];
    uint32_t bytes = 0;
    uint8_t percent = 0;
    EXPECT_EQ(GetPing(driver, source, bytes, percent), 1);
    EXPECT_STREQ(source, "004096aabbcc");
    EXPECT_EQ(bytes, 1500u);
    EXPECT_EQ(percent, 80);

    device.Then(Answer(0));
    EXPECT_EQ(GetPing(driver, source, bytes, percent), 0);
    EXPECT_TRUE(reports.empty());
    device.Then(Answer(-4));
    EXPECT_EQ(GetPing(driver, source, bytes, percent), -4);
    EXPECT_EQ(reports, (std::vector<std::string>{"-4 Error in GetPing"}));
}

}  // namespace
}  // namespace vz
