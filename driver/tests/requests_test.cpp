// The operations that read the card or send it one command, and SendPing: what goes out, what
// comes back into the outputs, and the text a failing step reports.
#include <cstring>
#include <functional>

#include "driver/card_control.h"
#include "driver/card_text.h"
#include "driver/ping.h"
#include "driver/rssi_map.h"
#include "driver/status_queries.h"
#include "driver/tests/driver_fixture.h"

namespace vz {
namespace {

using Call = std::function<int(Driver&, std::string&)>;  // describes its outputs in the text

struct RequestCase {
    const char* name;
    Call call;
    std::vector<Step> answers;
    int status;
    Commands commands;
    Bytes sent;  // the data area of the last request
    std::string output = {};
    Strings reports = {};
};

// Each call below runs an operation over outputs that start out stale and describes them.
int MasterNode(Driver& d, std::string& out) {
    char master[13] = "previous-mas", node[13] = "previous-nod", name[12];
    std::memset(name, 'x', sizeof name);
    uint8_t channel = 0, subchannel = 0, sync = 0;
    const int status = GetMasterNode(d, master, name, channel, subchannel, node, sync);
    out = FormatText("%s %s %.12s %d %d %d", master, node, name, channel, subchannel, sync);
    return status;
}
template <int (*kRead)(Driver&, uint8_t&, uint32_t)>
int ReadByte(Driver& d, std::string& out) {
    uint8_t value = 0x33;
    const int status = kRead(d, value, 0);
    out = std::to_string(value);
    return status;
}
template <int (*kRead)(Driver&, char (&)[32])>
int ReadText(Driver& d, std::string& out) {
    char text[32];
    std::memset(text, 'q', sizeof text);
    const int status = kRead(d, text);
    out = FormatText("%.32s", text);
    return status;
}
int RomVersion(Driver& d, char (&text)[32]) {
    return GetVersion(d, text);
}
int Rssi(Driver& d, std::string& out) {
    d.card.rssiPercent[130] = 30;
    uint8_t percent = 0;
    const int status = GetRSSI_freq(d, percent, 17);
    out = std::to_string(percent);
    return status;
}
int Ping(Driver& d, std::string& out) {
    char source[13] = "none";
    uint32_t bytes = 0;
    uint8_t percent = 0;
    d.card.rssiPercent[180] = 80;
    const int status = GetPing(d, source, bytes, percent);
    out = FormatText("%s %u %d", source, bytes, percent);
    return status;
}
Call Send(const char* address, uint32_t payload) {
    return [=](Driver& d, std::string& out) {
        uint8_t sync = 7, pingId = 0xEE;
        uint32_t time = 0xDEAD;
        const int status = SendPing(d, address, payload, kPingKindDirected, sync, time, pingId);
        out = FormatText("%d %u %d", sync, time, pingId);
        return status;
    };
}
Step Synchronised(uint8_t state) {
    return Params({{kParamSyncState, {state}}});
}
// The transmit time and ping id the card writes into the record.
Step Transmitted(uint8_t time, uint8_t id) {
    return Answer(0, {0, 0, 0, 0, 0, 0, 0, 0, time, 0, 0, 0, id});
}
int Echo(Driver& d, std::string& out) {
    uint32_t echoTime = 0;
    const int status = GetPingEcho(d, 5, echoTime);
    out = std::to_string(echoTime);
    return status;
}

#define SET(call) [](Driver& d, std::string&) { return call; }
const uint8_t kQ = 0x33;                     // what a read's output held before
const char kCut[] = "xxxxxxxxxxxxxxxxxxxx";  // the 20 characters a security ID keeps
const char kApEast[kMasterNameSize] = "AP-EAST";

// clang-format off
// A 12-character name is cut to 11; the address texts are written only when all arrived.
const Entries kMasterNodeAnswers = {{kParamSyncState, {1}},
    {kParamMasterAddress, {0x02, 0x00, 0x00, 0x12, 0xAB, 0xCD}},
    {kParamNodeAddress, {0x00, 0xA0, 0xF8, 0x01, 0x02, 0x03}},
    {kParamMasterName, Bytes(12, 'N')}, {kParamChannel, {4}}, {kParamSubchannel, {9}}};
const Entries kWithoutSyncState(kMasterNodeAnswers.begin() + 1, kMasterNodeAnswers.end());
const Bytes kMasterNodeList = List({{kParamMasterAddress, Bytes(6, 0)},
    {kParamNodeAddress, Bytes(6, 0)}, {kParamMasterName, Bytes(12, 'x')}, {kParamChannel, {0}},
    {kParamSubchannel, {0}}, {kParamSyncState, {0}}});
// A received ping: its source, the signal reading 180 at byte 12 and 1500 bytes at byte 14.
const Bytes kReceived = {0, 0x40, 0x96, 0xAA, 0xBB, 0xCC, 0, 0, 0, 0, 0, 0, 180, 0, 0xDC, 0x05};
// A ping record: address, kind, transmit time, ping id and payload length, then the payload.
const Bytes kPayload(kPingPayloadMax, 0);
const Bytes kBroadcastRecord =
    Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, kPingKindDirected, 0, 0, 0, 0, 0, 0, 0, 0xDC, 0x05, 0, 0}
    + kPayload;

const RequestCase kRequests[] = {
    {"MasterNode", MasterNode, {Params(kMasterNodeAnswers)}, 0, {kCmdGetDriverData},
     kMasterNodeList, "02000012abcd 00a0f8010203 NNNNNNNNNNN 4 9 1"},
    {"MasterNodeWithoutSyncState", MasterNode, {Params(kWithoutSyncState)}, -1,
     {kCmdGetDriverData}, kMasterNodeList, "previous-mas previous-nod NNNNNNNNNNN 4 9 0",
     {"-1 GetfromDataList in GetMasterNode Sync State"}},
    {"MasterNodeChannelLost", MasterNode, {Fail(31)}, -9, {kCmdGetDriverData}, kMasterNodeList,
     "previous-mas previous-nod xxxxxxxxxxxx 0 0 0",
     {"-9 DeviceIoControl Error:  31", "-9 GetDriverData in GetMasterNode"}},
    {"SyncState", ReadByte<GetSyncState>, {Params({{kParamSyncState, {1}}})}, 0,
     {kCmdGetDriverData}, List({{kParamSyncState, {kQ}}}), "1"},
    {"SyncStateMissing", ReadByte<GetSyncState>, {Params({})}, -1, {kCmdGetDriverData},
     List({{kParamSyncState, {kQ}}}), "51", {"-1 GetfromDataList in GetSyncState"}},
    {"RoamingFlagFailing", ReadByte<GetRoamingFlag>, {Answer(-1)}, -1, {kCmdGetDriverData},
     List({{kParamRoamingFlag, {kQ}}}), "51", {"-1 GetDriverData in GetRoamingFlag"}},
    {"RomVersionOverADirtyBuffer", ReadText<RomVersion>,
     {Params({{kParamRomVersion, {'V', '1', '.', '4', '9', 'b', ' '}}})}, 0,
     {kCmdGetDriverData}, List({{kParamRomVersion, Bytes(7, 'q')}}), "V1.49b "},
    {"DriverVersionWithoutNul", ReadText<GetDriverVersion>, {Answer(0, Bytes(40, 'v'))}, 0,
     {kCmdGetDriverVersion}, {}, std::string(31, 'v')},
    {"ClearSyncState", SET(ClearSyncState(d)), {Answer(-1)}, -1, {kCmdSetDriverData},
     List({{kParamSyncState, {0}}}), "", {"-1 Set Driver Data in ClearSyncState"}},
    {"ClearMasterAddr", SET(ClearMasterAddr(d)), {Answer(-1)}, -1, {kCmdSetDriverData},
     List({{kParamMasterAddress, Bytes(6, 0)}, {kParamSyncState, {0}}}), "",
     {"-1 Set Driver Data in Clear Master Addr"}},
    {"SetDomain", SET(SetDomain(d, "12x")), {Answer(-1)}, -1, {kCmdSetDriverData},
     List({{kParamDomain, {12}}}), "", {"-1 SetDriverData in SetDomain"}},
    {"SetStationType", SET(SetStationType(d, kStationTypeMaster)), {Answer(-1)}, -1,
     {kCmdSetDriverData}, List({{kParamStationType, {kStationTypeMaster}}}), "",
     {"-1 SetDriverData in SetStationType"}},
    {"SetRoamingFlag", SET(SetRoamingFlag(d, 1)), {Answer(-1)}, -1, {kCmdSetDriverData},
     List({{kParamRoamingFlag, {1}}}), "", {"-1 SetDriverData in SetRoamingFlag"}},
    {"SetInactivityTimer", SET(SetInactivityTimer(d, 0x1234)), {Answer(-1)}, -1,
     {kCmdSetDriverData}, List({{kParamInactivity, {0x34, 0x12}}}), "",
     {"-1 SetDriverData in SetCardOptions"}},
    {"StartMasterSearch", SET(StartMasterSearch(d, 5)), {}, 0, {kCmdStartMasterSearch},
     {0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"SearchSynchronous", SET(SearchSynchronous(d, 2, 7, 8, kApEast)), {}, 0,
     {kCmdSearchSynchronous}, {7, 8, 2, 'A', 'P', '-', 'E', 'A', 'S', 'T', 0, 0, 0, 0, 0}},
    {"SecurityId", SET(SetSecurityId(d, "abc")), {}, 0, {kCmdSetSecurityId}, {'a', 'b', 'c', 0}},
    {"SecurityIdCutAtTwenty", SET(SetSecurityId(d, (kCut + std::string("yyyyy")).c_str())), {},
     0, {kCmdSetSecurityId}, Bytes(std::begin(kCut), std::end(kCut))},
    {"RssiAtAFrequency", Rssi, {Answer(0), Answer(0, {130})}, 0,
     {kCmdDisableHopping, kCmdGetRssi}, {0}, "30"},
    {"RssiWithHoppingNotStopped", Rssi, {Answer(-2)}, -2, {kCmdDisableHopping}, {17}, "0",
     {"-2 GetRSSI_freq calling DisableHopping"}},
    {"ReceivedPing", Ping, {Answer(kStatusPending, kReceived)}, kStatusPending, {kCmdReceivePing},
     {}, "004096aabbcc 1500 80"},
    {"NoPingWaiting", Ping, {Answer(kStatusOk, kReceived)}, kStatusOk, {kCmdReceivePing}, {},
     "none 0 0"},
    {"PingFailing", Ping, {Answer(-4)}, -4, {kCmdReceivePing}, {}, "none 0 0",
     {"-4 Error in GetPing"}},
    {"PingEcho", Echo, {Answer(0, {5, 0, 0x10, 0x27, 0, 0})}, 0, {kCmdGetPingEcho},
     {5, 0, 0, 0, 0, 0}, "10000"},
    {"NotSynchronisedSendsNothing", Send(kBroadcastAddress, 1500), {Synchronised(0)}, 0,
     {kCmdGetDriverData}, List({{kParamSyncState, {7}}}), "0 57005 238"},
    {"RecordCarriesAddressKindAndLength", Send("0a0B0c0d0e0f", 0),
     {Synchronised(1), Transmitted(9, 42)}, 0, {kCmdGetDriverData, kCmdTransmitPing},
     Bytes{0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f, kPingKindDirected, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}
     + kPayload, "1 9 42"},
    {"LengthBoundedShortAddressZeroFilled", Send("12345", 5000),
     {Synchronised(1), Transmitted(1, 1)}, 0, {kCmdGetDriverData, kCmdTransmitPing},
     Bytes{0x12, 0x34, 0, 0, 0, 0, kPingKindDirected, 0, 0, 0, 0, 0, 0, 0, 0xDC, 0x05, 0, 0}
     + kPayload, "1 1 1"},
    {"BusyDrainsReceivedPingsAndSendsOnceMore", Send(kBroadcastAddress, 1500),
     {Synchronised(1), Answer(-6), Answer(kStatusPending), Answer(kStatusPending), Answer(0),
      Synchronised(1), Transmitted(77, 5)}, 0,
     {kCmdGetDriverData, kCmdTransmitPing, kCmdReceivePing, kCmdReceivePing, kCmdReceivePing,
      kCmdGetDriverData, kCmdTransmitPing}, kBroadcastRecord, "1 77 5"},
    {"BusyTwiceReportsTheSecondSend", Send(kBroadcastAddress, 1500),
     {Synchronised(1), Answer(-7), Answer(0), Synchronised(1), Answer(-7)}, -7,
     {kCmdGetDriverData, kCmdTransmitPing, kCmdReceivePing, kCmdGetDriverData, kCmdTransmitPing},
     kBroadcastRecord, "1 57005 238", {"-7 TransmitPing 2 in SendPing"}},
    {"FailedDrainSendsNothingMore", Send(kBroadcastAddress, 1500),
     {Synchronised(1), Answer(-6), Answer(kStatusPending), Answer(-4)}, -4,
     {kCmdGetDriverData, kCmdTransmitPing, kCmdReceivePing, kCmdReceivePing}, {}, "1 57005 238",
     {"-4 ReceivePing in SendPing"}},
    {"SynchronisationLostWhileBusy", Send(kBroadcastAddress, 1500),
     {Synchronised(1), Answer(-5), Answer(0), Synchronised(0)}, 0,
     {kCmdGetDriverData, kCmdTransmitPing, kCmdReceivePing, kCmdGetDriverData},
     List({{kParamSyncState, {1}}}), "0 57005 238"},
};
// clang-format on

using Requests = CaseTable<RequestCase>;

TEST_P(Requests, SendOneRequestAndTakeItsAnswer) {
    const RequestCase& c = GetParam();
    Script(c.answers);
    std::string output;
    EXPECT_EQ(c.call(driver, output), c.status);
    EXPECT_EQ(output, c.output);
    EXPECT_EQ(device.sent.back(), c.sent);
    EXPECT_EQ(device.commands, c.commands);
    EXPECT_EQ(reports, c.reports);
}

INSTANTIATE_TEST_SUITE_P(Cases, Requests, ::testing::ValuesIn(kRequests), kCaseName);

TEST_F(OpenDriverTest, ADriverThatNeverStopsOfferingPingsDoesNotHoldTheSender) {
    Script({Synchronised(1), Answer(-5)});
    device.otherwise = Answer(kStatusPending);
    std::string output;
    EXPECT_LE(Send(kBroadcastAddress, 60)(driver, output), kStatusPending);
    EXPECT_LT(device.commands.size(), 1100u);
}

}  // namespace
}  // namespace vz
