// What the driver layer gets from the tool's windows: the Status window while the card is
// re-initialised, mouse input during a synchronisation wait, and the beep.
#pragma once

#include <memory>

#include "driver/card_host.h"
#include "platform/shell.h"
#include "ui/dialog_host.h"
#include "zazivev/config/message_dialogs.h"

namespace vz {

class ToolCardHost : public CardHost {
  public:
    explicit ToolCardHost(Shell& shell) : shell_(shell) {}

    // The window that owns the Status window and whose mouse input stays alive; the main
    // dialog attaches itself while it exists.
    void Attach(DialogHost* owner) { owner_ = owner; }

    void OpenStatusWindow(const char* text) override;
    void CloseStatusWindow() override;
    void DispatchOneMouseMessage() override;
    void Beep(uint32_t frequency, uint32_t durationMs) override;

  private:
    Shell& shell_;
    DialogHost* owner_ = nullptr;
    std::unique_ptr<StatusDialog> status_;
};

}  // namespace vz
