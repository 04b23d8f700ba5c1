// Broadcast replies, directed echoes with their latency and loss, and the received-ping queue.
#include "emulator/core/ping_engine.h"

#include <algorithm>
#include <cmath>

namespace vz {

namespace {

const MacAddress kBroadcast = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff};

// How long the card keeps retrying a directed ping to a station that is not there.
constexpr uint32_t kUnreachableGiveUpMs = 20;

uint32_t LatencySample(const PingPeer& peer, EmulatorRandom& random) {
    const double sample = random.Normal(peer.latencyMs, peer.spreadMs);
    return sample <= 0.0 ? 0u : uint32_t(std::lround(sample));
}

uint8_t ReadingOf(const PingPeer& peer, double signalNoiseDb, const SignalModel& signal,
                  EmulatorRandom& random) {
    return signal.RawReading(random.Normal(peer.signalDbm, signalNoiseDb));
}

}  // namespace

uint32_t AirtimeMs(uint32_t payloadLength) {
    return 1 + payloadLength / 200;
}

uint8_t PingEngine::Transmit(const MacAddress& destination, uint32_t payloadLength,
                             const std::vector<PingPeer>& cell, uint32_t now, double signalNoiseDb,
                             const SignalModel& signal, EmulatorRandom& random,
                             uint32_t& transmitTime) {
    lastId_ = lastId_ == 255 ? 1 : uint8_t(lastId_ + 1);
    Outstanding& ping = pings_[lastId_];
    ping = Outstanding{};
    ping.used = true;
    transmitTime = now;

    if (destination == kBroadcast) {
        // A broadcast is complete once it is on the air; whoever hears it may answer.
        ping.echoAt = now + AirtimeMs(payloadLength);
        for (const PingPeer& peer : cell) {
            if (!random.Chance(peer.answer)) {
                continue;
            }
            Queue(ReceivedPing{peer.address, ReadingOf(peer, signalNoiseDb, signal, random),
                               payloadLength, now + LatencySample(peer, random)});
        }
        return lastId_;
    }

    const auto target = std::find_if(cell.begin(), cell.end(),
                                     [&](const PingPeer& p) { return p.address == destination; });
    if (target == cell.end()) {
        ping.lost = true;
        ping.echoAt = now + AirtimeMs(payloadLength) + kUnreachableGiveUpMs;
        return lastId_;
    }
    ping.lost = random.Chance(target->echoLoss);
    ping.echoAt = now + LatencySample(*target, random);
    if (!ping.lost) {
        // The target's answering ping reaches the card with the echo.
        Queue(ReceivedPing{target->address, ReadingOf(*target, signalNoiseDb, signal, random),
                           payloadLength, ping.echoAt});
    }
    return lastId_;
}

EchoAnswer PingEngine::Echo(uint8_t pingId, uint32_t now) const {
    const Outstanding& ping = pings_[pingId];
    if (!ping.used) {
        return EchoAnswer{2, 0};
    }
    if (int32_t(now - ping.echoAt) < 0) {
        return EchoAnswer{1, 0};
    }
    if (ping.lost) {
        return EchoAnswer{2, 0};
    }
    return EchoAnswer{0, ping.echoAt};
}

void PingEngine::Queue(const ReceivedPing& ping) {
    if (queue_.size() >= kMaxQueuedPings) {
        ++droppedReplies_;
        return;
    }
    auto at = std::upper_bound(queue_.begin(), queue_.end(), ping,
                               [](const ReceivedPing& a, const ReceivedPing& b) {
                                   return int32_t(a.arrivalMs - b.arrivalMs) < 0;
                               });
    queue_.insert(at, ping);
}

bool PingEngine::Receive(uint32_t now, ReceivedPing& ping) {
    if (queue_.empty() || int32_t(now - queue_.front().arrivalMs) < 0) {
        return false;
    }
    ping = queue_.front();
    queue_.pop_front();
    return true;
}

void PingEngine::Clear() {
    pings_.fill(Outstanding{});
    queue_.clear();
}

}  // namespace vz
