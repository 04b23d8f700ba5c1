// Ping primitives: sending a ping, taking received pings, polling an echo.
#include "driver/ping.h"

#include <algorithm>

#include "driver/le_bytes.h"
#include "driver/node_address.h"
#include "driver/parameter_list.h"
#include "driver/request_block.h"

namespace vz {

namespace {

constexpr size_t kPingKindOffset = 6;
constexpr size_t kPingTransmitTimeOffset = 8;
constexpr size_t kPingIdOffset = 12;
constexpr size_t kPingPayloadLengthOffset = 14;
constexpr size_t kReceivedSignalOffset = 12;
constexpr size_t kReceivedBytesOffset = 14;
// A driver that keeps answering "one more ping waiting" must not hold the program forever.
constexpr int kMaxPingsDrained = 1000;

Status ReadSyncState(Driver& driver, uint8_t& syncState, const char* sendText, const char* readText,
                     uint32_t cardIndex) {
    ParameterList list;
    list.Append(kParamSyncState, &syncState);
    const Status status = DriverCommand(driver, kCmdGetDriverData, 0, list.Length(), list.Bytes(),
                                        ParameterList::kCapacity, cardIndex);
    if (status != Status::kOk) {
        ReportDriverError(driver, status, sendText);
        return status;
    }
    if (list.Get(kParamSyncState, &syncState) != 0) {
        ReportDriverError(driver, Status::kFailed, readText);
        return Status::kFailed;
    }
    return Status::kOk;
}

void PrepareRecord(uint8_t* record, const uint8_t (&address)[kNodeAddressSize], uint8_t kind,
                   uint32_t payloadLength) {
    std::fill(record, record + kPingRecordSize, uint8_t(0));
    std::copy(address, address + kNodeAddressSize, record);
    record[kPingKindOffset] = kind;
    PutU32(record + kPingPayloadLengthOffset, payloadLength);
}

Status Transmit(Driver& driver, uint8_t* record, uint32_t cardIndex) {
    return DriverCommand(driver, kCmdTransmitPing, 0, kPingRecordSize, record, kPingRecordSize,
                         cardIndex);
}

}  // namespace

Status SendPing(Driver& driver, const char* nodeAddress, uint32_t payloadLength, uint8_t pingKind,
                uint8_t& syncState, uint32_t& transmitTime, uint8_t& pingId, uint32_t cardIndex) {
    uint8_t address[kNodeAddressSize];
    ParseNodeAddress(nodeAddress, address);
    payloadLength = std::min<uint32_t>(payloadLength, kPingPayloadMax);
    uint8_t record[kPingRecordSize];
    PrepareRecord(record, address, pingKind, payloadLength);

    Status status = ReadSyncState(driver, syncState, "GetDriverData in SendPing",
                                  "GetfromDataList in SendPing", cardIndex);
    if (status != Status::kOk) {
        return status;
    }
    if (syncState == 0) {
        return Status::kOk;
    }

    status = Transmit(driver, record, cardIndex);
    if (IsTransmitterBusy(status)) {
        uint8_t drain[kPingRecordSize];
        Status received = Status::kPingTaken;
        for (int i = 0; i < kMaxPingsDrained && received == Status::kPingTaken; ++i) {
            received = DriverCommand(driver, kCmdReceivePing, 0, 0, drain, sizeof drain, cardIndex);
        }
        if (received != Status::kOk && received != Status::kPingTaken) {
            ReportDriverError(driver, received, "ReceivePing in SendPing");
            return received;
        }
        status = ReadSyncState(driver, syncState, "GetDriverData in SendPing's TransmitPing",
                               "GetfromDataList in SendPing's TransmitPing", cardIndex);
        if (status != Status::kOk) {
            return status;
        }
        if (syncState == 0) {
            return Status::kOk;
        }
        PrepareRecord(record, address, pingKind, payloadLength);
        status = Transmit(driver, record, cardIndex);
        if (status != Status::kOk) {
            ReportDriverError(driver, status, "TransmitPing 2 in SendPing");
            return status;
        }
    }
    transmitTime = GetU32(record + kPingTransmitTimeOffset);
    pingId = record[kPingIdOffset];
    return status;
}

Status GetPing(Driver& driver, char (&sourceAddress)[kNodeAddressTextSize], uint32_t& byteCount,
               uint8_t& signalPercent, uint32_t cardIndex) {
    uint8_t buffer[kReceivedPingBufferSize] = {};
    const Status status =
        DriverCommand(driver, kCmdReceivePing, 0, 0, buffer, sizeof buffer, cardIndex);
    if (status == Status::kPingTaken) {
        uint8_t address[kNodeAddressSize];
        std::copy(buffer, buffer + kNodeAddressSize, address);
        FormatNodeAddress(address, sourceAddress);
        signalPercent = driver.card.rssiPercent[buffer[kReceivedSignalOffset]];
        byteCount = GetU32(buffer + kReceivedBytesOffset);
    } else if (status != Status::kOk) {
        ReportDriverError(driver, status, "Error in GetPing");
    }
    return status;
}

Status GetPingEcho(Driver& driver, uint8_t pingId, uint32_t& echoTime, uint32_t cardIndex) {
    uint8_t record[kEchoRecordSize] = {pingId};
    const Status status =
        DriverCommand(driver, kCmdGetPingEcho, 0, sizeof record, record, sizeof record, cardIndex);
    if (status == Status::kOk) {
        echoTime = GetU32(record + 2);
    }
    return status;
}

}  // namespace vz
