// What a card operation returns: the driver's status codes by name, and the few rules over them.
#pragma once

#include <cstdint>

#include "driver/request_block.h"

namespace vz {

// The driver writes any 32-bit result; the names cover every code the programs act on, and a
// code without a name is passed up unchanged like the rest.
enum class Status : int32_t {
    kOk = kStatusOk,
    kPingTaken = 1,           // ReceivePing: one received ping is in the buffer
    kEchoPending = 1,         // GetPingEcho: the echo has not arrived yet
    kSearchStopping = 1,      // StopSearch: a normal answer
    kNoEcho = 2,              // GetPingEcho: this ping has no echo
    kSearchStopped = 2,       // StopSearch: a normal answer
    kFailed = kStatusFailed,  // the driver's preset result, a missing value, the wrong Master
    kNoSync = kStatusNoSync,  // SynchToMaster: the card never synchronised
    // -5 to -7: the transmitter was busy. After SendPing's one retry, -6 and -7 still leave a
    // directed ping queued in the card, and -7 a broadcast too; -5 sent nothing.
    kBusy = kStatusBusyFirst,
    kBusyPingQueued = -6,
    kBusyBroadcastQueued = kStatusBusyLast,
    kChannelLost = kStatusChannelLost,  // the device channel failed
};

constexpr int StatusCode(Status status) {
    return static_cast<int>(status);
}

// Any of -5, -6 and -7: SendPing drains the received pings and sends once more.
constexpr bool IsTransmitterBusy(Status status) {
    return StatusCode(status) <= kStatusBusyFirst && StatusCode(status) >= kStatusBusyLast;
}

}  // namespace vz
