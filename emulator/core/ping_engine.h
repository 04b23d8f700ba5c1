// Pings through the emulated card: broadcast replies, directed echoes and the received queue.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

#include "emulator/core/radio_channel.h"
#include "emulator/core/random.h"
#include "emulator/core/signal_model.h"
#include "emulator/core/text_fields.h"

namespace vz {

// A station in the card's cell as the ping engine sees it.
struct PingPeer {
    MacAddress address{};
    double signalDbm = -70.0;
    double answer = 1.0;
    double latencyMs = 3.0;
    double spreadMs = 1.0;
    double echoLoss = 0.0;
    double load = 0.0;
};

// What a world with a `radio` line needs to put pings on the air.
struct AirSettings {
    uint32_t rateKbps = 1600;
    uint32_t retries = 3;
    double sensitivityDbm = -92.0;
    double load = 0.0;  // the cell's background load, at most kMaxCellLoad
};

struct ReceivedPing {
    MacAddress source{};
    uint8_t raw = 0;
    uint32_t bytes = 0;
    uint32_t arrivalMs = 0;
};

struct EchoAnswer {
    int status = 2;  // 0 arrived, 1 pending, 2 no echo
    uint32_t echoTime = 0;
};

class PingEngine {
  public:
    static constexpr size_t kMaxQueuedPings = 512;

    // Sends one ping; returns its id (1..255) and sets the transmit time (the driver's time unit
    // is the millisecond). Replies and the echo are decided here, once, from the seed.
    uint8_t Transmit(const MacAddress& destination, uint32_t payloadLength,
                     const std::vector<PingPeer>& cell, uint32_t now, double signalNoiseDb,
                     const SignalModel& signal, EmulatorRandom& random, uint32_t& transmitTime);
    // The same through the radio model: every frame takes its airtime on the cell's channel and
    // may be lost and retried; the station's latency sample lies between ping and echo.
    uint8_t TransmitOnAir(const MacAddress& destination, uint32_t payloadLength,
                          const std::vector<PingPeer>& cell, const AirSettings& air, uint32_t now,
                          double signalNoiseDb, const SignalModel& signal, EmulatorRandom& random,
                          uint32_t& transmitTime);
    EchoAnswer Echo(uint8_t pingId, uint32_t now) const;
    // The earliest received ping that has arrived by `now`, taken off the queue.
    bool Receive(uint32_t now, ReceivedPing& ping);
    void Clear();

    uint64_t DroppedReplies() const { return droppedReplies_; }

  private:
    struct Outstanding {
        bool used = false;
        bool lost = false;
        uint32_t echoAt = 0;  // when the echo arrives, or when the card gives the ping up
    };

    // Takes the next ping id and starts its record.
    Outstanding& Begin(uint32_t now, uint32_t& transmitTime);
    void Queue(const ReceivedPing& ping);

    std::array<Outstanding, 256> pings_{};
    uint8_t lastId_ = 0;
    std::deque<ReceivedPing> queue_;  // by arrival time
    RadioChannel channel_;
    uint64_t droppedReplies_ = 0;
};

// Airtime of a frame at the card's rate, about 1.6 Mbit/s, plus the access delay.
uint32_t AirtimeMs(uint32_t payloadLength);

}  // namespace vz
