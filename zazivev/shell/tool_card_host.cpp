// The tool's side of the driver layer's host.
#include "zazivev/shell/tool_card_host.h"

namespace vz {

void ToolCardHost::OpenStatusWindow(const char* text) {
    CloseStatusWindow();
    status_ = std::make_unique<StatusDialog>(text);
    if (owner_ != nullptr) {
        owner_->OpenModeless(*status_);
    }
}

void ToolCardHost::CloseStatusWindow() {
    // Destroying the dialog object destroys a window that is still open.
    status_.reset();
}

void ToolCardHost::DispatchOneMouseMessage() {
    if (owner_ != nullptr) {
        owner_->PumpMouseMessage();
    }
}

void ToolCardHost::Beep(uint32_t frequency, uint32_t durationMs) {
    shell_.Beep(frequency, durationMs);
}

}  // namespace vz
