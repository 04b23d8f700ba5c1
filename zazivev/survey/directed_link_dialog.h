// The directed link test: one node pinged again and again, with its packets, latency and signal.
#pragma once

#include <cstdint>
#include <string>

#include "driver/status_queries.h"
#include "ui/dialog.h"
#include "zazivev/app/tool_context.h"
#include "engines/link_slots.h"

namespace vz {

class DialogHost;

class DirectedLinkDialog : public Dialog {
  public:
    // Each tick of this timer runs one half-second measuring loop.
    static constexpr uint32_t kMeasureTimer = 1;

    // `targetAddress`: the node's 12 hexadecimal digits; `packetSize`: rememberedPacketSize.
    DirectedLinkDialog(ToolContext& context, std::string targetAddress, int packetSize);

    // The packet size to hand back once the dialog has ended (the slider's last position, or
    // the size it was given when the slider never moved).
    int PacketSize() const;

    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void OnTimer(uint32_t id) override;
    void OnHScroll(int id, int request, int pos) override;
    void OnDestroy() override;

  private:
    // How a measuring loop ended: with the statistics to run, or with a failure that skips them
    // and restarts the ring.
    enum class LoopEnd { kStatistics, kFailure };

    void Tick();
    LoopEnd Measure();
    LoopEnd WaitForEcho();
    void RecordEcho(int64_t latency);
    void FollowMaster(const MasterReading& master);
    Status ReadMaster(MasterReading& reading);
    void Recover();
    void Statistics();
    void Advance(LoopEnd end);
    void Done();
    void ShowOutOfRange(bool show);

    ToolContext& context_;
    std::string targetAddress_;
    int packetSize_;
    LinkSlots slots_;
    RunningAverages averages_;
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

// Runs the link test of `address` modally from `host`'s window, with the remembered packet size,
// the link test's help place meanwhile, and keeps the size it hands back.
void RunDirectedLinkTest(ToolContext& context, DialogHost& host, std::string address);

}  // namespace vz
