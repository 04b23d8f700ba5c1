// The directed link test: one node pinged again and again, with its packets, latency and signal.
#pragma once

#include <cstdint>
#include <string>

#include "engines/link_test.h"
#include "ui/dialog.h"
#include "zazivev/app/tool_context.h"

namespace vz {

class DialogHost;

class DirectedLinkDialog : public Dialog, private LinkView {
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
    // "Copy Figures" copies what the window shows.
    bool OnSysCommand(uint32_t id) override;

  private:
    void ShowOutOfRange(bool shown) override;
    void ShowMaximumLatency(int64_t ms) override;
    void ShowTargetFollowed(const char* address, const char* name) override;
    void ShowPass(const LinkPass& pass) override;

    ToolContext& context_;
    LinkTest link_;
};

// Runs the link test of `address` modally from `host`'s window, with the remembered packet size,
// the link test's help place meanwhile, and keeps the size it hands back.
void RunDirectedLinkTest(ToolContext& context, DialogHost& host, std::string address);

}  // namespace vz
