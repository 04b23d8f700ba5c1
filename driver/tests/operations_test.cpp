// Every card operation: what goes out, what comes back into the outputs, the text a failing step
// reports; InitCard's and SynchToMaster's steps and waits.
#include <cstring>

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
    Bytes sent;  // the data areas of all requests, in a row
    std::string output = {};
    Strings reports = {};
};

// Each call below runs an operation over outputs that start out stale and describes them.
int MasterNode(Driver& d, std::string& out) {
    MasterReading r;
    std::strcpy(r.address, "previous-mas");
    std::strcpy(r.nodeAddress, "previous-nod");
    std::memset(r.name, 'x', sizeof r.name);
    const Status status = GetMasterNode(d, r);
    out = FormatText("%s %s %.12s %d %d %d", r.address, r.nodeAddress, r.name, r.channel,
                     r.subchannel, r.syncState);
    return StatusCode(status);
}
// `kRead` over an output of stale 'q' bytes, then its further arguments.
template <class T, auto kRead, auto... kArgs>
int Read(Driver& d, std::string& out) {
    T value;
    std::memset(&value, 'q', sizeof value);
    const int status = StatusCode(kRead(d, value, kArgs...));
    if constexpr (std::is_array_v<T>) {
        out = FormatText("%.*s", int(sizeof value), value);
    } else {
        out = std::to_string(value);
    }
    return status;
}
int Ping(Driver& d, std::string& out) {
    char source[13] = "none";
    uint32_t bytes = 0;
    uint8_t percent = 0;
    const int status = StatusCode(GetPing(d, source, bytes, percent));
    out = FormatText("%s %u %d", source, bytes, percent);
    return status;
}
Call Send(const char* address, uint32_t payload) {
    return [=](Driver& d, std::string& out) {
        uint8_t sync = 7, pingId = 0xEE;
        uint32_t time = 0xDEAD;
        const int status =
            StatusCode(SendPing(d, address, payload, kPingKindDirected, sync, time, pingId));
        out = FormatText("%d %u %d", sync, time, pingId);
        return status;
    };
}
const Call kBroadcast = Send(kBroadcastAddress, 1500);
Step Synchronised(uint8_t state) {
    return Params({{kParamSyncState, {state}}});
}
// The transmit time and ping id the card writes into the record.
Step Transmitted(uint8_t time, uint8_t id) {
    return Answer(0, {0, 0, 0, 0, 0, 0, 0, 0, time, 0, 0, 0, id});
}
const Call kRssi = Read<uint8_t, GetRSSI_freq, uint8_t{17}, 0u>;  // at frequency 17

#define SET(call) [](Driver& d, std::string&) { return StatusCode(call); }
const char kCut[] = "xxxxxxxxxxxxxxxxxxxx";  // the 20 characters a security ID keeps
const char kApEast[kMasterNameSize] = "AP-EAST";

// BuildRssiMap's one request answered with calibration `points`; describes the text, then the
// percent at each raw reading named.
RequestCase MapRow(const char* name, Step answer, int status, std::vector<int> raws,
                   std::string output) {
    const Call map = [=](Driver& d, std::string& out) {
        char text[kRssiMapTextSize] = "stale";
        const int result = StatusCode(BuildRssiMap(d, text));
        out = text + std::string("|");
        for (int raw : raws) {
            out += FormatText(" %d", d.card.rssiPercent[raw]);
        }
        return result;
    };
    const Bytes sent = Bytes{0, 0, 0, 0, 0x80, 0, 21} + Bytes(kCalibrationRecordSize - 7);
    return {name, map, {answer}, status, {kCmdGetRssiCalibration}, sent, output};
}

// clang-format off
// Answers like a card: country code, ROM version, a Master node list whose sync state and Master
// address end in `sync`, and a roaming flag of `roaming`; a calibration request finds no points.
Step LikeACard(uint8_t sync, uint8_t roaming) {
    const Step list = Params({{kParamRomVersion, {'V', '1', '.', '4', '9', 'b', ' '}},
        {kParamRoamingFlag, {roaming}}, {kParamMasterAddress, {0, 0, 0, 0, 0, sync}},
        {kParamSyncState, {sync}}, {kParamNodeAddress, {}}, {kParamMasterName, {}},
        {kParamChannel, {}}, {kParamSubchannel, {}}});
    return [=](Request& r) { (r.command == kCmdGetCountryCode ? Answer(0, {0xC5}) : list)(r); };
}

const char kReinit[] = "Please wait while the driver is being re-initialized.";
const char kFirstMaster[] = "000000000001";

// InitCard over a card state holding country code 1 and the map text "kept" marked '+';
// describes the sync state and the card state it leaves.
Call Init(int waitFlag) {
    return [=](Driver& d, std::string& out) {
        CardState& card = d.card;
        card.countryCode = 1;
        std::strcpy(card.rssiMapText, "kept");
        card.rssiMapMarker = '+';
        uint8_t sync = 9;
        const int status = StatusCode(InitCard(d, sync, 0, waitFlag));
        out = FormatText("%d|%s|%d|%d|%c%s|%d|%s", sync, card.romVersion, card.countryCode,
                         card.countryFlag, card.rssiMapMarker, card.rssiMapText,
                         card.cardInitialised, card.masterAddress);
        return status;
    };
}
Call Synch(int reinitFlag, const char* wanted) {
    return [=](Driver& d, std::string&) {
        MasterReading master;
        std::strcpy(master.name, kApEast);
        std::strcpy(master.address, wanted);
        master.channel = 2;
        master.subchannel = 3;
        return StatusCode(SynchToMaster(d, reinitFlag, 1, master));
    };
}

struct CardCase {
    const char* name;
    Call call;
    uint8_t sync;  // the card answers LikeACard(sync, roaming) after `steps`
    uint8_t roaming;
    std::vector<Step> steps;
    int status;
    Commands start;      // the first requests
    std::string output;  // the call's, then tenths of a second waited and mouse messages served
    Strings events;
    Strings reports = {};
};

// A 12-character name is cut to 11; the address texts are written only when all arrived.
const Entries kMasterNodeAnswers = {{kParamSyncState, {1}},
    {kParamMasterAddress, {0x02, 0x00, 0x00, 0x12, 0xAB, 0xCD}},
    {kParamNodeAddress, {0x00, 0xA0, 0xF8, 0x01, 0x02, 0x03}},
    {kParamMasterName, Bytes(12, 'N')}, {kParamChannel, {4}}, {kParamSubchannel, {9}}};
const Entries kWithoutSyncState(kMasterNodeAnswers.begin() + 1, kMasterNodeAnswers.end());
const Bytes kMasterNodeList = List({{kParamMasterAddress, Bytes(6, 0)},
    {kParamNodeAddress, Bytes(6, 0)}, {kParamMasterName, Bytes(12, 'x')}, {kParamChannel, {0}},
    {kParamSubchannel, {0}}, {kParamSyncState, {0}}});
// Any station type text but "Station" and "Alternate Master" counts as Master, whose name is cut
// to 11 characters.
const CardOptions kStation{.domain = "7", .roamConfig = "Slow", .inactivitySecondsIndex = 3,
    .inactivityMinutes = 2};
const CardOptions kMaster{.masterSettings = true, .masterName = "ABCDEFGHIJKLMNOP",
    .stationType = "station", .channel = "12", .subchannel = "3", .domain = "15",
    .macOptimize = "Light", .roamConfig = "Fast", .peerToPeer = false};
const Bytes kMasterList = List({{kParamStationType, {kStationTypeMaster}},
    {kParamAnnouncedName, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 0}},
    {kParamMasterChannel, {12}}, {kParamMasterSubchannel, {3}}, {kParamDomain, {15}},
    {kParamInactivity, {0, 0}}, {kParamPeerToPeer, {0}}});
// A received ping: its source, the signal reading 180 at byte 12 and 1500 bytes at byte 14.
const Bytes kReceived = {0, 0x40, 0x96, 0xAA, 0xBB, 0xCC, 0, 0, 0, 0, 0, 0, 180, 0, 0xDC, 0x05};
// A ping record: address, kind, transmit time, ping id and payload length, then the payload.
const Bytes kPayload(kPingPayloadMax, 0);
const Bytes kBroadcastRecord =
    Bytes(6, 0xFF) + Bytes{kPingKindDirected, 0, 0, 0, 0, 0, 0, 0, 0xDC, 0x05, 0, 0} + kPayload;
// The sync state read before a ping goes out, over a stale output, then over the one it read.
const Bytes kFirstSync = List({{kParamSyncState, {7}}});
const Bytes kResync = List({{kParamSyncState, {1}}});

const RequestCase kRequests[] = {
    {"MasterNode", MasterNode, {Params(kMasterNodeAnswers)}, 0, {kCmdGetDriverData},
     kMasterNodeList, "02000012abcd 00a0f8010203 NNNNNNNNNNN 4 9 1"},
    {"MasterNodeWithoutSyncState", MasterNode, {Params(kWithoutSyncState)}, -1,
     {kCmdGetDriverData}, kMasterNodeList, "previous-mas previous-nod NNNNNNNNNNN 4 9 0",
     {"-1 GetfromDataList in GetMasterNode Sync State"}},
    {"MasterNodeChannelLost", MasterNode, {Answer(0, {}, 31)}, -9, {kCmdGetDriverData}, kMasterNodeList,
     "previous-mas previous-nod xxxxxxxxxxxx 0 0 0",
     {"-9 DeviceIoControl Error:  31", "-9 GetDriverData in GetMasterNode"}},
    {"SyncStateMissing", Read<uint8_t, GetSyncState, 0u>, {Params({})}, -1, {kCmdGetDriverData},
     List({{kParamSyncState, {'q'}}}), "113", {"-1 GetfromDataList in GetSyncState"}},
    {"RoamingFlagFailing", Read<uint8_t, GetRoamingFlag, 0u>, {Answer(-1)}, -1, {kCmdGetDriverData},
     List({{kParamRoamingFlag, {'q'}}}), "113", {"-1 GetDriverData in GetRoamingFlag"}},
    {"RomVersionOverADirtyBuffer", Read<char[32], GetVersion, 0u>,
     {Params({{kParamRomVersion, {'V', '1', '.', '4', '9', 'b', ' '}}})}, 0,
     {kCmdGetDriverData}, List({{kParamRomVersion, Bytes(7, 'q')}}), "V1.49b "},
    {"DriverVersionWithoutNul", Read<char[32], GetDriverVersion>, {Answer(0, Bytes(40, 'v'))}, 0,
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
    {"StationOptions", SET(SetCardOptions(d, kStation)), {}, 0, {kCmdSetDriverData, kCmdSetRoamConfig},
     List({{kParamStationType, {kStationTypeStation}}, {kParamDomain, {7}},
           {kParamInactivity, {2 * 12 + 3, 0}}, {kParamPeerToPeer, {1}}}) + Bytes{0}},  // Slow
    {"MasterOptions", SET(SetCardOptions(d, kMaster)), {}, 0,
     {kCmdSetDriverData, kCmdSetMacOptimize, kCmdSetRoamConfig}, kMasterList + Bytes{1, 2}},
    {"OptionsStopAtTheFirstFailingStep", SET(SetCardOptions(d, kMaster)), {Answer(0), Answer(-3)},
     -3, {kCmdSetDriverData, kCmdSetMacOptimize}, kMasterList + Bytes{1}, "",
     {"-3 SetMACOptimize in SetCardOptions"}},
    {"StartMasterSearch", SET(StartMasterSearch(d, 5)), {}, 0, {kCmdStartMasterSearch},
     {0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"SearchSynchronous", SET(SearchSynchronous(d, 2, 7, 8, kApEast)), {}, 0,
     {kCmdSearchSynchronous}, {7, 8, 2, 'A', 'P', '-', 'E', 'A', 'S', 'T', 0, 0, 0, 0, 0}},
    {"SecurityId", SET(SetSecurityId(d, "abc")), {}, 0, {kCmdSetSecurityId}, {'a', 'b', 'c', 0}},
    {"SecurityIdCutAtTwenty", SET(SetSecurityId(d, (kCut + std::string("yyyyy")).c_str())), {},
     0, {kCmdSetSecurityId}, Bytes(std::begin(kCut), std::end(kCut))},
    {"RssiAtAFrequency", kRssi, {Answer(0), Answer(0, {130})}, 0,
     {kCmdDisableHopping, kCmdGetRssi}, {17, 'q'}, "30"},
    {"RssiWithHoppingNotStopped", kRssi, {Answer(-2)}, -2, {kCmdDisableHopping}, {17}, "113",
     {"-2 GetRSSI_freq calling DisableHopping"}},
    {"ReceivedPing", Ping, {Answer(kStatusPending, kReceived)}, kStatusPending, {kCmdReceivePing},
     {}, "004096aabbcc 1500 80"},
    {"NoPingWaiting", Ping, {Answer(kStatusOk, kReceived)}, kStatusOk, {kCmdReceivePing}, {},
     "none 0 0"},
    {"PingFailing", Ping, {Answer(-4)}, -4, {kCmdReceivePing}, {}, "none 0 0",
     {"-4 Error in GetPing"}},
    {"EchoTimeOfThePing",
     [](Driver& d, std::string& out) {
         uint32_t time = 0xDEAD;
         const int status = StatusCode(GetPingEcho(d, 42, time));
         out = std::to_string(time);
         return status;
     },
     {Answer(0, {42, 0, 0x10, 0x27, 0, 0})}, 0, {kCmdGetPingEcho}, {42, 0, 0, 0, 0, 0}, "10000"},
    {"NotSynchronisedSendsNothing", kBroadcast, {Synchronised(0)}, 0,
     {kCmdGetDriverData}, kFirstSync, "0 57005 238"},
    {"RecordCarriesAddressKindAndLength", Send("0a0B0c0d0e0f", 0),
     {Synchronised(1), Transmitted(9, 42)}, 0, {kCmdGetDriverData, kCmdTransmitPing},
     kFirstSync + Bytes{0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f, kPingKindDirected, 0, 0, 0, 0, 0, 0, 0,
     0, 0, 0, 0} + kPayload, "1 9 42"},
    {"LengthBoundedShortAddressZeroFilled", Send("12345", 5000),
     {Synchronised(1), Transmitted(1, 1)}, 0, {kCmdGetDriverData, kCmdTransmitPing},
     kFirstSync + Bytes{0x12, 0x34, 0, 0, 0, 0, kPingKindDirected, 0, 0, 0, 0, 0, 0, 0, 0xDC, 0x05,
     0, 0} + kPayload, "1 1 1"},
    {"BusyDrainsReceivedPingsAndSendsOnceMore", kBroadcast,
     {Synchronised(1), Answer(-6), Answer(kStatusPending), Answer(kStatusPending), Answer(0),
      Synchronised(1), Transmitted(77, 5)}, 0,
     {kCmdGetDriverData, kCmdTransmitPing, kCmdReceivePing, kCmdReceivePing, kCmdReceivePing,
      kCmdGetDriverData, kCmdTransmitPing}, kFirstSync + kBroadcastRecord + kResync + kBroadcastRecord,
     "1 77 5"},
    {"BusyTwiceReportsTheSecondSend", kBroadcast,
     {Synchronised(1), Answer(-7), Answer(0), Synchronised(1), Answer(-7)}, -7,
     {kCmdGetDriverData, kCmdTransmitPing, kCmdReceivePing, kCmdGetDriverData, kCmdTransmitPing},
     kFirstSync + kBroadcastRecord + kResync + kBroadcastRecord, "1 57005 238",
     {"-7 TransmitPing 2 in SendPing"}},
    {"FailedDrainSendsNothingMore", kBroadcast,
     {Synchronised(1), Answer(-6), Answer(kStatusPending), Answer(-4)}, -4,
     {kCmdGetDriverData, kCmdTransmitPing, kCmdReceivePing, kCmdReceivePing},
     kFirstSync + kBroadcastRecord, "1 57005 238",
     {"-4 ReceivePing in SendPing"}},
    {"SynchronisationLostWhileBusy", kBroadcast,
     {Synchronised(1), Answer(-5), Answer(0), Synchronised(0)}, 0,
     {kCmdGetDriverData, kCmdTransmitPing, kCmdReceivePing, kCmdGetDriverData},
     kFirstSync + kBroadcastRecord + kResync, "0 57005 238"},
    MapRow("ElevenPointsMeansDefault", Calibration(Bytes(22, 40)), -1, {99, 150, 201}, "| 0 50 100"),
    MapRow("NoPointsMeansDefault", Calibration({}), -1, {0, 100, 200}, "| 0 0 100"),
    MapRow("TenPointsAreTaken", Calibration(Bytes(20, 40)), 0, {255},
           "<-40dBm:40> <-40dBm:40> <-40dBm:40> <-40dBm:40> <-40dBm:40> "
           "<-40dBm:40> <-40dBm:40> <-40dBm:40> <-40dBm:40> <-40dBm:40> | 100"),
    MapRow("TwoPoints", Calibration({40, 200, 80, 100}), 0, {0, 101, 102, 150, 200, 201, 255},
           "<-40dBm:200> <-80dBm:100> | 0 0 1 49 99 99 99"),
    MapRow("ThreePoints", Calibration({40, 200, 60, 150, 80, 100}), 0, {101, 150, 151, 200, 255},
           "<-40dBm:200> <-60dBm:150> <-80dBm:100> | 0 49 50 99 99"),
    MapRow("SameLevelsStartAtZero", Calibration({60, 100, 60, 50}), 0, {0, 1, 50, 100},
           "<-60dBm:100> <-60dBm:50> | 0 1 50 50"),
    MapRow("StrongerThanFortyIsFull", Calibration({30, 250, 80, 100}), 0, {250},
           "<-30dBm:250> <-80dBm:100> | 99"),
    MapRow("SinglePointRisesAlongTheDefaultSlope", Calibration({60, 150}), 0,
           {100, 101, 150, 255}, "<-60dBm:150> | 0 1 50 100"),
    MapRow("SinglePointBelowItsPercentStartsAtZero", Calibration({40, 50}), 0, {0, 1, 50},
           "<-40dBm:50> | 0 2 100"),
    MapRow("SteepPointsStopAtOneHundred", Calibration({80, 32, 60, 60}), 0, {171, 255},
           "<-80dBm:32> <-60dBm:60> | 100 100"),
    MapRow("FallingSegmentsStopAtZero", Calibration({70, 136, 50, 52}), 0, {185, 200},
           "<-70dBm:136> <-50dBm:52> | 3 13"),
    MapRow("FailedCalibrationLeavesTableAndTextAlone", Calibration({}, 3), 3, {150}, "stale| 0"),
};

const CardCase kCardCases[] = {
    {"InitGivesUpAfterFiveSeconds", Init(0), 0, 1, {}, 0, {kCmdInitCard},
     "0|V1.49b |197|0| |1|000000000000 50 0", {kReinit, "close"}},
    {"InitWaitFlagOneWaitsTenSeconds", Init(1), 0, 1, {}, 0, {},
     "0|V1.49b |197|0| |1|000000000000 100 0", {kReinit, "close"}},
    {"InitOtherWaitFlagsWaitFive", Init(2), 0, 1, {}, 0, {},
     "0|V1.49b |197|0| |1|000000000000 50 0", {kReinit, "close"}},
    {"InitStopsWaitingOnceSynchronised", Init(1), 1, 1, {}, 0, {},
     "1|V1.49b |197|0| |1|000000000001 0 0", {kReinit, "close"}},
    {"InitCommandFailureLeavesTheCardUninitialised", Init(0), 0, 1, {Answer(-9)}, -9, {},
     "0||1|0|+kept|0| 0 0", {kReinit, "close"}},
    {"InitCountryFailureLeavesMapAndCountryAlone", Init(0), 0, 1,
     {Step{}, Step{}, Answer(4, {0xC5})}, 4, {}, "0|V1.49b |1|0|+kept|1| 0 0", {kReinit, "close"},
     {"4 Error Getting Country Code 4"}},
    {"InitFailedCalibrationBeeps", Init(0), 1, 1, {Step{}, Step{}, Answer(0, {1}), Answer(3)}, 0,
     {}, "1|V1.49b |1|1| |1|000000000001 0 0", {kReinit, "beep 1000 500", "close"}},
    {"InitValidCalibrationKeepsTheMapText", Init(0), 1, 1,
     {Step{}, Step{}, Answer(0, {2}), Calibration({40, 200, 80, 100})}, 0, {},
     "1|V1.49b |2|0|+<-40dBm:200> <-80dBm:100> |1|000000000001 0 0", {kReinit, "close"}},
    {"SynchRoamingOnSearchesAtOnce", Synch(0x100, kFirstMaster), 1, 1, {}, 0,
     {kCmdGetDriverData, kCmdSetDriverData, kCmdSearchSynchronous, kCmdGetDriverData}, " 0 1"},
    {"SynchRoamingOffReinitialises", Synch(0, kFirstMaster), 1, 0, {}, 0,
     {kCmdGetDriverData, kCmdSetDriverData, kCmdSetDriverData, kCmdInitCard}, " 0 1",
     {kReinit, "close"}},
    {"SynchReinitFlagIsInitCardsWait", Synch(1, kFirstMaster), 0, 1, {}, kStatusNoSync,
     {kCmdGetDriverData, kCmdSetDriverData, kCmdSetDriverData, kCmdInitCard}, " 200 9999",
     {kReinit, "close"}},
    {"SynchAnotherMasterAfterABoundedWait", Synch(0, "0000000000ff"), 1, 1, {}, -1,
     {kCmdGetDriverData, kCmdSetDriverData, kCmdSearchSynchronous}, " 20 2001"},
    // Never synchronised: ten thousand polls, the mouse served between them.
    {"SynchGivesUpAfterItsPolls", Synch(0, kFirstMaster), 0, 1, {}, kStatusNoSync,
     {kCmdGetDriverData, kCmdSetDriverData, kCmdSearchSynchronous}, " 100 9999"},
};
// clang-format on

using Requests = CaseTable<RequestCase>;

TEST_P(Requests, SendOneRequestAndTakeItsAnswer) {
    const RequestCase& c = GetParam();
    Script(c.answers);
    driver.card.rssiPercent[130] = 30;
    driver.card.rssiPercent[180] = 80;
    std::string output;
    EXPECT_EQ(c.call(driver, output), c.status);
    EXPECT_EQ(output, c.output);
    EXPECT_EQ(device.sent, c.sent);
    EXPECT_EQ(device.commands, c.commands);
    EXPECT_EQ(reports, c.reports);
    EXPECT_LE(*std::max_element(driver.card.rssiPercent, driver.card.rssiPercent + 256), 100);
}

INSTANTIATE_TEST_SUITE_P(Cases, Requests, ::testing::ValuesIn(kRequests), kCaseName);

TEST_F(OpenDriverTest, ADriverThatNeverStopsOfferingPingsDoesNotHoldTheSender) {
    Script({Synchronised(1), Answer(-5)});
    device.otherwise = Answer(kStatusPending);
    std::string output;
    EXPECT_LE(Send(kBroadcastAddress, 60)(driver, output), kStatusPending);
    EXPECT_LT(device.commands.size(), 1100u);
}

using CardCases = CaseTable<CardCase>;

TEST_P(CardCases, ReinitialiseOrMoveOntoAMaster) {
    const CardCase& c = GetParam();
    device.otherwise = LikeACard(c.sync, c.roaming);
    Script(c.steps);
    std::string output;
    EXPECT_EQ(c.call(driver, output), c.status);
    Commands start = device.commands;
    start.resize(c.start.size());
    EXPECT_EQ(start, c.start);
    EXPECT_EQ(output + FormatText(" %u %d", clock.NowMs() / 100, mousePumps), c.output);
    EXPECT_EQ(events, c.events);
    EXPECT_EQ(reports, c.reports);
}

INSTANTIATE_TEST_SUITE_P(Cases, CardCases, ::testing::ValuesIn(kCardCases), kCaseName);

}  // namespace
}  // namespace vz
