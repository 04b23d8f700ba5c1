// The driver's request block: layout, command numbers and status codes shared with the emulator.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vz {

constexpr uint32_t kDriverIoControlCode = 0x170002;
constexpr uint32_t kDriverInputWord = 0xFF000001;
constexpr size_t kDriverInputSize = 4;

constexpr size_t kRequestHeaderSize = 16;
constexpr size_t kRequestDataSize = 2000;
constexpr size_t kRequestBlockSize = kRequestHeaderSize + kRequestDataSize;
static_assert(kRequestBlockSize == 2016);

// Field offsets inside the block.
constexpr size_t kRequestCommandOffset = 0;
constexpr size_t kRequestValueOffset = 4;
constexpr size_t kRequestLengthOffset = 8;
constexpr size_t kRequestResultOffset = 12;
constexpr size_t kRequestDataOffset = 16;

constexpr uint32_t kCardIndexShift = 24;  // the card index sits in the command word's top byte

enum DriverCommandNumber : uint32_t {
    kCmdSetSecurityId = 1,
    kCmdGetDriverVersion = 2,
    kCmdGetDriverData = 3,
    kCmdSetDriverData = 4,
    kCmdStopSearch = 5,
    kCmdStartMasterSearch = 6,
    kCmdSearchSynchronous = 7,
    kCmdGetCountryCode = 8,
    kCmdGetRssi = 9,
    kCmdDisableHopping = 10,
    kCmdRestartDriver = 11,
    kCmdReleaseCard = 12,
    kCmdInitCard = 13,
    kCmdGetRssiCalibration = 14,
    kCmdReceivePing = 17,
    kCmdTransmitPing = 18,
    kCmdSetMacOptimize = 19,
    kCmdSetRoamConfig = 20,
    kCmdGetPingEcho = 22,
};

enum DriverStatus : int {
    kStatusOk = 0,
    kStatusPending = 1,     // ReceivePing: a ping is in the buffer; GetPingEcho: not yet
    kStatusNoEcho = 2,      // GetPingEcho: this ping has no echo
    kStatusFailed = -1,     // preset result, missing parameter, wrong Master
    kStatusNoSync = -2,     // SynchToMaster: the card never synchronised
    kStatusBusyFirst = -5,  // -5 to -7: the transmitter is busy
    kStatusBusyLast = -7,
    kStatusChannelLost = -9,  // the device channel failed
};

// Record sizes carried in the data area.
constexpr size_t kSearchRecordSize = 15;
constexpr size_t kPingRecordSize = 1518;
constexpr size_t kPingPayloadMax = 1500;
constexpr size_t kReceivedPingBufferSize = 1520;
constexpr size_t kEchoRecordSize = 6;
constexpr size_t kCalibrationRecordSize = 260;
constexpr size_t kDriverVersionSize = 32;
constexpr size_t kSecurityIdMaxLength = 20;

}  // namespace vz
