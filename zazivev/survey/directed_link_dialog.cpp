// The directed link test's window and its measuring.
#include "zazivev/survey/directed_link_dialog.h"

#include <utility>

#include "zazivev/res/resource.h"

namespace vz {

DirectedLinkDialog::DirectedLinkDialog(ToolContext& context, std::string targetAddress,
                                       int packetSize)
    : Dialog(IDD_DIRECTED_LINK),
      context_(context),
      targetAddress_(std::move(targetAddress)),
      packetSize_(packetSize) {}

int DirectedLinkDialog::PacketSize() const {
    return packetSize_;
}

}  // namespace vz
