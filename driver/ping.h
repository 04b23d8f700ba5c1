// Pinging nodes through the card and taking the pings it receives.
#pragma once

#include <cstdint>

#include "driver/card_state.h"
#include "driver/driver.h"

namespace vz {

constexpr uint8_t kPingKindDirected = 3;
constexpr char kBroadcastAddress[] = "ffffffffffff";

// Sends one ping of `payloadLength` zero bytes (at most 1500) when the card is synchronised;
// copes once with a busy transmitter. transmitTime and pingId are left alone when nothing was
// transmitted (not synchronised, or a failure before the transmission).
int SendPing(Driver& driver, const char* nodeAddress, uint32_t payloadLength, uint8_t pingKind,
             uint8_t& syncState, uint32_t& transmitTime, uint8_t& pingId, uint32_t cardIndex = 0);

// 1 when a received ping was taken (outputs filled), 0 when none was waiting, negative on failure.
int GetPing(Driver& driver, char (&sourceAddress)[kNodeAddressTextSize], uint32_t& byteCount,
            uint8_t& signalPercent, uint32_t cardIndex = 0);

// Polls the echo of one ping: 0 arrived (echoTime set), 1 pending, 2 no echo, negative failure.
int GetPingEcho(Driver& driver, uint8_t pingId, uint32_t& echoTime, uint32_t cardIndex = 0);

}  // namespace vz
