// The directed link test's figures: ten half-second slots of pings, echoes, bytes and latency
// samples, the figures of one statistics pass, and the running averages since the test began.
#pragma once

#include <array>
#include <cstdint>

namespace vz {

constexpr int kLinkSlots = 10;
constexpr int kLatencySamplesPerSlot = 50;

// What one statistics pass found; the `has` flags say which figures it could compute.
struct LinkFigures {
    bool hasPackets = false;
    int64_t packetsPerSecond = 0;
    bool hasBytes = false;
    int64_t bytesPerSecond = 0;
    bool hasLatency = false;
    int64_t latency = 0;
    double deviation = 0.0;
    int signalPercent = 0;
};

class LinkSlots {
  public:
    LinkSlots();

    // Starts filling `slot` (0..9) afresh.
    void StartSlot(int slot);
    int CurrentSlot() const { return current_; }
    // A ping received from the target: its signal percent and byte count (both bounded here).
    void AddPing(int signal, int64_t byteCount);
    // An echo of ours: `packetSize` bytes and its latency (a negative latency is not a sample).
    void AddEcho(int64_t latency, int packetSize);
    LinkFigures Compute() const;

  private:
    // -1 in a counter: the slot has not been used.
    struct Slot {
        int64_t received = -1;
        int64_t signalSum = -1;
        int64_t echoes = -1;
        int64_t latencyCount = -1;
        int64_t bytes = -1;
        std::array<int64_t, kLatencySamplesPerSlot> latency{};
    };
    std::array<Slot, kLinkSlots> slots_;
    int current_ = 0;
};

// The averages since the test began. The sums are kept wide; one that would leave the 32-bit
// range restarts the averages, as a 32-bit sum turning negative would.
class RunningAverages {
  public:
    enum Figure { kPackets, kBytes, kLatency, kFigureCount };

    // Starts a statistics pass.
    void BeginPass();
    // Adds this pass's value of `figure` and returns the average to show.
    int64_t Add(Figure figure, int64_t value);
    int64_t Cycles() const { return cycles_; }

  private:
    std::array<int64_t, kFigureCount> sums_{};
    std::array<int64_t, kFigureCount> passValues_{};
    std::array<bool, kFigureCount> addedThisPass_{};
    int64_t cycles_ = 0;
};

}  // namespace vz
