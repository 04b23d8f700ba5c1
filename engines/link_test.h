// The directed link test: one node pinged again and again, its echoes timed, and the figures of
// the last ten half-second slots worked out after each.
#pragma once

#include <cstdint>
#include <string>

#include "driver/status_queries.h"
#include "engines/link_slots.h"
#include "program/program_context.h"

namespace vz {

// The ping size a link test starts with until the user picks another.
inline constexpr int kDefaultPacketSize = 1500;

// One statistics pass: the figures of the slots, and the averages of every pass so far (each
// only where its `has` flag in the figures is set).
struct LinkPass {
    uint32_t seconds = 0;  // since the test began
    LinkFigures figures;
    int64_t averagePackets = 0;
    int64_t averageBytes = 0;
    int64_t averageLatency = 0;
};

// What the test tells whoever shows it, as it happens.
class LinkView {
  public:
    virtual ~LinkView() = default;
    virtual void ShowOutOfRange(bool shown) = 0;
    virtual void ShowMaximumLatency(int64_t ms) = 0;
    // The target was the Master, and the card roamed to `address`, called `name`.
    virtual void ShowTargetFollowed(const char* address, const char* name) = 0;
    virtual void ShowPass(const LinkPass& pass) = 0;
};

// Every ping of the test, for its summary.
struct LinkTotals {
    int64_t pingsSent = 0;
    int64_t echoes = 0;
    int64_t latencyChanges = 0;      // successive echo pairs
    int64_t latencyChangeSumMs = 0;  // the sum of their absolute differences
};

class LinkTest {
  public:
    // `target`: the node's 12 hexadecimal digits (longer is cut); `packetSize`: bytes per ping.
    LinkTest(ProgramContext& context, std::string target, int packetSize, LinkView& view);

    // Starts the clock and the first slot; the target is the Master when it is the card's.
    void Begin();
    // One half-second measuring loop, then its statistics pass (skipped after a failure, which
    // restarts the ring at its first slot).
    void Tick();
    // Waits a little for the echo still outstanding, so the card has no ping left in flight.
    void Done();

    void SetPacketSize(int bytes) { packetSize_ = bytes; }
    int PacketSize() const { return packetSize_; }
    const std::string& Target() const { return target_; }
    bool TargetIsMaster() const { return targetIsMaster_; }
    int64_t MaximumLatency() const { return maximumLatency_; }
    const LinkTotals& Totals() const { return totals_; }
    // The last ping's echo is still awaited: neither echoed nor lost yet.
    bool PingOutstanding() const { return pingOutstanding_; }

  private:
    // How a measuring loop ended: with the statistics to run, or with a failure that skips them
    // and restarts the ring.
    enum class LoopEnd { kStatistics, kFailure };

    LoopEnd Measure();
    LoopEnd WaitForEcho();
    void RecordEcho(int64_t latency);
    void FollowMaster(const MasterReading& master);
    Status ReadMaster(MasterReading& reading);
    void Recover();
    void Statistics();
    void Advance(LoopEnd end);

    ProgramContext& context_;
    std::string target_;
    int packetSize_;
    LinkView& view_;
    LinkSlots slots_;
    RunningAverages averages_;
    LinkTotals totals_;
    int64_t lastLatency_ = -1;
    uint8_t pingId_ = 0;
    uint8_t inRange_ = 0;
    int failures_ = 0;
    int64_t maximumLatency_ = 0;
    uint32_t slotStart_ = 0;
    uint32_t testStart_ = 0;
    uint32_t transmitTime_ = 0;
    bool targetIsMaster_ = false;
    char knownMaster_[kNodeAddressTextSize] = "";
    bool driverLost_ = false;
    bool pingOutstanding_ = false;
};

}  // namespace vz
