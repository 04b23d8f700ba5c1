// Pinging nodes through the card and taking the pings it receives.
#pragma once

#include <cstdint>

#include "driver/card_state.h"
#include "driver/driver.h"

namespace vz {

constexpr uint8_t kPingKindBroadcast = 0;
constexpr uint8_t kPingKindDirected = 3;
constexpr char kBroadcastAddress[] = "ffffffffffff";

// Sends one ping of `payloadLength` zero bytes (at most 1500) when the card is synchronised;
// copes once with a busy transmitter. transmitTime and pingId are left alone when nothing was
// transmitted (not synchronised, or a failure before the transmission).
// Returns: kOk, also when not synchronised (syncState 0); the second TransmitPing's status after
// a busy transmitter (PingOnItsWay tells whether it still went out); a failure status.
Status SendPing(Driver& driver, const char* nodeAddress, uint32_t payloadLength, uint8_t pingKind,
                uint8_t& syncState, uint32_t& transmitTime, uint8_t& pingId,
                uint32_t cardIndex = 0);

// Whether a ping SendPing answered with `status` is on its way, so its echo is worth waiting
// for: any success, or a busy transmitter that still queued it. The card queues a directed ping
// on -6 and -7 but a broadcast only on -7; the site survey and the link test both follow that.
constexpr bool PingOnItsWay(Status status, uint8_t pingKind) {
    if (StatusCode(status) >= 0 || status == Status::kBusyBroadcastQueued) {
        return true;
    }
    return pingKind != kPingKindBroadcast && status == Status::kBusyPingQueued;
}

// Takes one received ping.
// Returns: kPingTaken (outputs filled); kOk when none was waiting; a failure status.
Status GetPing(Driver& driver, char (&sourceAddress)[kNodeAddressTextSize], uint32_t& byteCount,
               uint8_t& signalPercent, uint32_t cardIndex = 0);

// Polls the echo of one ping.
// Returns: kOk when it arrived (echoTime set); kEchoPending; kNoEcho; a failure status.
Status GetPingEcho(Driver& driver, uint8_t pingId, uint32_t& echoTime, uint32_t cardIndex = 0);

}  // namespace vz
