// Broadcast replies, directed echoes (fixed, or on the radio model's air), the received queue.
#include "emulator/core/ping_engine.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "emulator/core/radio_model.h"

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

// On the air, times are continuous; the card stamps an event with the millisecond it falls in,
// counted up, as its clock ticks in whole milliseconds.
uint32_t StampMs(double ms) {
    return uint32_t(std::ceil(ms - 1e-9));
}

double ContinuousLatencyMs(const PingPeer& peer, EmulatorRandom& random) {
    return std::max(0.0, random.Normal(peer.latencyMs, peer.spreadMs));
}

}  // namespace

uint32_t AirtimeMs(uint32_t payloadLength) {
    return 1 + payloadLength / 200;
}

uint8_t PingEngine::Transmit(const MacAddress& destination, uint32_t payloadLength,
                             const std::vector<PingPeer>& cell, uint32_t now, double signalNoiseDb,
                             const SignalModel& signal, EmulatorRandom& random,
                             uint32_t& transmitTime) {
    Outstanding& ping = Begin(now, transmitTime);

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

uint8_t PingEngine::TransmitOnAir(const MacAddress& destination, uint32_t payloadLength,
                                  const std::vector<PingPeer>& cell, const AirSettings& air,
                                  uint32_t now, double signalNoiseDb, const SignalModel& signal,
                                  EmulatorRandom& random, uint32_t& transmitTime) {
    Outstanding& ping = Begin(now, transmitTime);
    const double airtime = FrameAirtimeMs(payloadLength, air.rateKbps);
    auto frameError = [&](const PingPeer& peer) {
        return FrameErrorRate(peer.signalDbm, air.sensitivityDbm, payloadLength);
    };
    auto send = [&](double readyMs, double error) {
        return channel_.Send(readyMs, airtime, air.load, error, air.retries, random);
    };

    if (destination == kBroadcast) {
        // Sent once, unacknowledged; a station that caught it may answer, and the answers take
        // the channel in the order they are ready.
        const SentFrame sent = channel_.Send(now, airtime, air.load, 0.0, 0, random);
        ping.echoAt = StampMs(sent.endMs);
        std::vector<std::pair<double, const PingPeer*>> answers;
        for (const PingPeer& peer : cell) {
            if (random.Chance(frameError(peer)) || !random.Chance(peer.answer)) {
                continue;
            }
            answers.emplace_back(sent.endMs + ContinuousLatencyMs(peer, random), &peer);
        }
        std::stable_sort(answers.begin(), answers.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [ready, peer] : answers) {
            const SentFrame answer = send(ready, frameError(*peer));
            if (answer.delivered) {
                Queue(ReceivedPing{peer->address, ReadingOf(*peer, signalNoiseDb, signal, random),
                                   payloadLength, StampMs(answer.endMs)});
            }
        }
        return lastId_;
    }

    const auto target = std::find_if(cell.begin(), cell.end(),
                                     [&](const PingPeer& p) { return p.address == destination; });
    if (target == cell.end()) {
        // Nobody acknowledges: the card spends every try.
        ping.lost = true;
        ping.echoAt = StampMs(send(now, 1.0).endMs);
        return lastId_;
    }
    const SentFrame out = send(now, frameError(*target));
    if (!out.delivered) {
        ping.lost = true;
        ping.echoAt = StampMs(out.endMs);
        return lastId_;
    }
    const SentFrame back =
        send(out.endMs + ContinuousLatencyMs(*target, random), frameError(*target));
    ping.lost = !back.delivered || random.Chance(target->echoLoss);
    ping.echoAt = StampMs(back.endMs);
    if (!ping.lost) {
        Queue(ReceivedPing{target->address, ReadingOf(*target, signalNoiseDb, signal, random),
                           payloadLength, ping.echoAt});
    }
    return lastId_;
}

PingEngine::Outstanding& PingEngine::Begin(uint32_t now, uint32_t& transmitTime) {
    lastId_ = lastId_ == 255 ? 1 : uint8_t(lastId_ + 1);
    Outstanding& ping = pings_[lastId_];
    ping = Outstanding{};
    ping.used = true;
    transmitTime = now;
    return ping;
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
    channel_.Clear();
}

}  // namespace vz
