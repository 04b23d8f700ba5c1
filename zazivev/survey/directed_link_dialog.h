// The directed link test: one node pinged again and again, with its packets, latency and signal.
#pragma once

#include <string>

#include "ui/dialog.h"
#include "zazivev/app/tool_context.h"

namespace vz {

class DirectedLinkDialog : public Dialog {
  public:
    // `targetAddress`: the node's 12 hexadecimal digits; `packetSize`: rememberedPacketSize.
    DirectedLinkDialog(ToolContext& context, std::string targetAddress, int packetSize);

    // The packet size to hand back once the dialog has ended (the slider's last position, or
    // the size it was given when the slider never moved).
    int PacketSize() const;

  private:
    ToolContext& context_;
    std::string targetAddress_;
    int packetSize_;
};

}  // namespace vz
