// The Master node query, and every operation that is one request: what goes out, what comes
// back into its outputs, and the text its failing step reports.
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

// A parameter list as sent: each entry unhandled, then the terminator.
Bytes List(const Entries& entries) {
    Bytes list;
    for (const auto& [id, value] : entries) {
        list.insert(list.end(), {uint8_t(id), 0, 0xFF, 0xFF, uint8_t(value.size()), 0});
        list.insert(list.end(), value.begin(), value.end());
    }
    list.insert(list.end(), {0, 0});
    return list;
}

struct RequestCase {
    const char* name;
    std::function<int(Driver&, std::string&)> call;  // describes its outputs in the text
    std::vector<ScriptedDevice::Step> answers;
    int status;
    Commands commands;
    Bytes sent;  // the data area of the first request
    std::string output;
    Strings reports;
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
const char kApEast[kMasterNameSize] = "AP-EAST";

ScriptedDevice::Step Received(int32_t result) {
    return [result](ScriptedDevice::Request& r) {
        const uint8_t source[6] = {0, 0x40, 0x96, 0xAA, 0xBB, 0xCC};
        std::copy(source, source + 6, r.data);
        r.data[12] = 180;
        PutU32(r.data + 14, 1500);
        r.length = kReceivedPingBufferSize;
        r.result = result;
    };
}

// A 12-character name is cut to 11; the address texts are written only when all arrived.
const std::map<uint16_t, Bytes> kWithoutSyncState = {
    {kParamMasterAddress, {0x02, 0x00, 0x00, 0x12, 0xAB, 0xCD}},
    {kParamNodeAddress, {0x00, 0xA0, 0xF8, 0x01, 0x02, 0x03}},
    {kParamMasterName, Bytes(12, 'N')},
    {kParamChannel, {4}},
    {kParamSubchannel, {9}}};
std::map<uint16_t, Bytes> WithSyncState() {
    std::map<uint16_t, Bytes> answers = kWithoutSyncState;
    answers[kParamSyncState] = {1};
    return answers;
}
const std::map<uint16_t, Bytes> kMasterNodeAnswers = WithSyncState();
const Bytes kMasterNodeList = List({{kParamMasterAddress, Bytes(6, 0)},
                                    {kParamNodeAddress, Bytes(6, 0)},
                                    {kParamMasterName, Bytes(12, 'x')},
                                    {kParamChannel, {0}},
                                    {kParamSubchannel, {0}},
                                    {kParamSyncState, {0}}});

#define SET(call) [](Driver& d, std::string&) { return call; }
const uint8_t kQ = 0x33;                     // what a read's output held before
const char kCut[] = "xxxxxxxxxxxxxxxxxxxx";  // the 20 characters a security ID keeps

// clang-format off
const RequestCase kRequests[] = {
    {"MasterNode", MasterNode, {AnswerParameters(kMasterNodeAnswers)}, 0, {kCmdGetDriverData},
     kMasterNodeList, "02000012abcd 00a0f8010203 NNNNNNNNNNN 4 9 1", {}},
    {"MasterNodeWithoutSyncState", MasterNode, {AnswerParameters(kWithoutSyncState)}, -1,
     {kCmdGetDriverData}, kMasterNodeList, "previous-mas previous-nod NNNNNNNNNNN 4 9 0",
     {"-1 GetfromDataList in GetMasterNode Sync State"}},
    {"MasterNodeChannelLost", MasterNode, {FailIoControl(31)}, -9, {kCmdGetDriverData},
     kMasterNodeList, "previous-mas previous-nod xxxxxxxxxxxx 0 0 0",
     {"-9 DeviceIoControl Error:  31", "-9 GetDriverData in GetMasterNode"}},
    {"SyncState", ReadByte<GetSyncState>, {AnswerParameters({{kParamSyncState, {1}}})}, 0,
     {kCmdGetDriverData},
     List({{kParamSyncState, {kQ}}}), "1", {}},
    {"SyncStateMissing", ReadByte<GetSyncState>, {AnswerParameters({})}, -1, {kCmdGetDriverData},
     List({{kParamSyncState, {kQ}}}), "51", {"-1 GetfromDataList in GetSyncState"}},
    {"RoamingFlagFailing", ReadByte<GetRoamingFlag>, {Answer(-1)}, -1, {kCmdGetDriverData},
     List({{kParamRoamingFlag, {kQ}}}), "51", {"-1 GetDriverData in GetRoamingFlag"}},
    {"RomVersionOverADirtyBuffer", ReadText<RomVersion>,
     {AnswerParameters({{kParamRomVersion, {'V', '1', '.', '4', '9', 'b', ' '}}})}, 0,
     {kCmdGetDriverData}, List({{kParamRomVersion, Bytes(7, 'q')}}), "V1.49b ", {}},
    {"DriverVersionWithoutNul", ReadText<GetDriverVersion>, {AnswerBytes(Bytes(40, 'v'))}, 0,
     {kCmdGetDriverVersion}, {}, std::string(31, 'v'), {}},
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
     {0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "", {}},
    {"SearchSynchronous", SET(SearchSynchronous(d, 2, 7, 8, kApEast)), {}, 0,
     {kCmdSearchSynchronous}, {7, 8, 2, 'A', 'P', '-', 'E', 'A', 'S', 'T', 0, 0, 0, 0, 0}, "", {}},
    {"SecurityId", SET(SetSecurityId(d, "abc")), {}, 0, {kCmdSetSecurityId}, {'a', 'b', 'c', 0},
     "", {}},
    {"SecurityIdCutAtTwenty", SET(SetSecurityId(d, (kCut + std::string("yyyyy")).c_str())), {},
     0, {kCmdSetSecurityId}, Bytes(std::begin(kCut), std::end(kCut)), "", {}},
    {"RssiAtAFrequency", Rssi, {Answer(0), AnswerBytes({130})}, 0,
     {kCmdDisableHopping, kCmdGetRssi}, {17}, "30", {}},
    {"RssiWithHoppingNotStopped", Rssi, {Answer(-2)}, -2, {kCmdDisableHopping}, {17}, "0",
     {"-2 GetRSSI_freq calling DisableHopping"}},
    {"ReceivedPing", Ping, {Received(kStatusPending)}, kStatusPending, {kCmdReceivePing}, {},
     "004096aabbcc 1500 80", {}},
    {"NoPingWaiting", Ping, {Received(kStatusOk)}, kStatusOk, {kCmdReceivePing}, {}, "none 0 0",
     {}},
    {"PingFailing", Ping, {Answer(-4)}, -4, {kCmdReceivePing}, {}, "none 0 0",
     {"-4 Error in GetPing"}},
};
// clang-format on

class Requests : public OpenDriverTest, public ::testing::WithParamInterface<RequestCase> {};

TEST_P(Requests, SendOneRequestAndTakeItsAnswer) {
    const RequestCase& c = GetParam();
    for (const auto& answer : c.answers) {
        device.Then(answer);
    }
    std::string output;
    EXPECT_EQ(c.call(driver, output), c.status);
    EXPECT_EQ(output, c.output);
    EXPECT_EQ(SentData(0), c.sent);
    EXPECT_EQ(SentCommands(), c.commands);
    EXPECT_EQ(reports, c.reports);
}

INSTANTIATE_TEST_SUITE_P(Cases, Requests, ::testing::ValuesIn(kRequests),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vz
