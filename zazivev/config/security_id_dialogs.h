// The set-up warning and the security ID entry, whose OK sends the new ID from a worker thread.
#pragma once

#include <cstdint>

#include "ui/codes.h"
#include "ui/dialog.h"
#include "zazivev/app/tool_context.h"

namespace vz {

// Posted by the worker to the entry dialog once the card has been sent the security ID.
constexpr uint32_t kMessageSecurityIdSent = kWmUser + 10;

// Says that cards talk only to cards with the same security ID; Continue leads to the entry.
class SetupWarningDialog : public Dialog {
  public:
    explicit SetupWarningDialog(ToolContext& context);
    void OnCommand(int id, int code) override;

  private:
    ToolContext& context_;
};

// Asks for the new security ID. It is write-only: never read back, shown, logged or stored.
class SecurityIdDialog : public Dialog {
  public:
    explicit SecurityIdDialog(ToolContext& context);
    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
    bool OnUser(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

  private:
    void SendSecurityId();

    ToolContext& context_;
};

}  // namespace vz
