// The directed link test's slots and statistics.
#include "engines/link_slots.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "driver/request_block.h"
#include "engines/signal_display.h"

namespace vz {

LinkSlots::LinkSlots() {
    StartSlot(0);
}

void LinkSlots::StartSlot(int slot) {
    current_ = std::clamp(slot, 0, kLinkSlots - 1);
    Slot& s = slots_[current_];
    s.received = 0;
    s.echoes = 0;
    s.latencyCount = 0;
    s.bytes = 0;
    s.signalSum = -1;
}

void LinkSlots::AddPing(int signal, int64_t byteCount) {
    Slot& s = slots_[current_];
    s.received += 1;
    const int bounded = BoundedSignal(signal);
    s.signalSum = s.signalSum == -1 ? bounded : s.signalSum + bounded;
    s.bytes += std::clamp<int64_t>(byteCount, 0, kPingPayloadMax);
}

void LinkSlots::AddEcho(int64_t latency, int packetSize) {
    Slot& s = slots_[current_];
    s.echoes += 1;
    s.bytes += std::clamp(packetSize, 0, static_cast<int>(kPingPayloadMax));
    if (latency >= 0 && s.latencyCount < kLatencySamplesPerSlot) {
        s.latency[s.latencyCount] = latency;
        s.latencyCount += 1;
    }
}

LinkFigures LinkSlots::Compute() const {
    int64_t packets = 0;
    int64_t packetSlots = 0;
    int64_t signalTotal = 0;
    int64_t signalPings = 0;
    int64_t byteTotal = 0;
    int64_t byteSlots = 0;
    int64_t latencyTotal = 0;
    int64_t samples = 0;
    for (const Slot& s : slots_) {
        if (s.received != -1) {
            packets += s.received;
        }
        if (s.echoes != -1) {
            packets += s.echoes;
        }
        if (s.received != -1 || s.echoes != -1) {
            packetSlots += 1;
        }
        if (s.signalSum != -1) {
            signalTotal += s.signalSum;
            signalPings += std::max<int64_t>(s.received, 0);
        }
        if (s.bytes != -1) {
            byteTotal += s.bytes;
            byteSlots += 1;
        }
        for (int64_t i = 0; i < s.latencyCount; ++i) {
            latencyTotal += s.latency[i];
        }
        samples += std::max<int64_t>(s.latencyCount, 0);
    }

    LinkFigures figures;
    if (packetSlots != 0) {
        figures.hasPackets = true;
        figures.packetsPerSecond = int64_t(double(packets) / double(packetSlots) * 2.0 + 0.5);
    }
    if (byteSlots != 0) {
        figures.hasBytes = true;
        figures.bytesPerSecond = int64_t(double(byteTotal) / double(byteSlots) * 2.0 + 0.5);
    }
    if (samples != 0) {
        figures.hasLatency = true;
        figures.latency = int64_t(double(latencyTotal) / double(samples) + 0.5);
        double squares = 0.0;
        for (const Slot& s : slots_) {
            for (int64_t i = 0; i < s.latencyCount; ++i) {
                const double difference = double(s.latency[i] - figures.latency);
                squares += difference * difference;
            }
        }
        figures.deviation = std::sqrt(squares / double(samples));
    }
    figures.signalPercent = ShownSignalPercent(signalTotal, signalPings);
    return figures;
}

void RunningAverages::BeginPass() {
    cycles_ += 1;
    addedThisPass_.fill(false);
}

int64_t RunningAverages::Add(Figure figure, int64_t value) {
    sums_[figure] += value;
    passValues_[figure] = value;
    addedThisPass_[figure] = true;
    if (sums_[figure] < 0 || sums_[figure] > std::numeric_limits<int32_t>::max()) {
        cycles_ = 1;
        for (int f = 0; f < kFigureCount; ++f) {
            sums_[f] = addedThisPass_[f] ? passValues_[f] : 0;
        }
    }
    return sums_[figure] / cycles_;
}

}  // namespace vz
