// The set-up warning, the security ID entry and the worker that sends the ID to the card.
#include "zazivev/config/security_id_dialogs.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "driver/card_control.h"
#include "driver/request_block.h"
#include "ui/dialog_host.h"
#include "zazivev/res/resource.h"

namespace vz {

SetupWarningDialog::SetupWarningDialog(ToolContext& context)
    : Dialog(IDD_SETUP_WARNING), context_(context) {}

void SetupWarningDialog::OnCommand(int id, int code) {
    if (id != IDC_SETUP_WARNING_CONTINUE) {
        Dialog::OnCommand(id, code);
        return;
    }
    SecurityIdDialog entry(context_);
    Host()->RunModal(entry);
    Host()->EndDialog(kIdOk);
}

SecurityIdDialog::SecurityIdDialog(ToolContext& context)
    : Dialog(IDD_SECURITY_ID), context_(context) {}

bool SecurityIdDialog::OnInitDialog() {
    // No current value is ever shown.
    Host()->SetItemText(IDC_SECURITY_ID_EDIT, "");
    Host()->SetEditLimit(IDC_SECURITY_ID_EDIT, static_cast<int>(kSecurityIdMaxLength));
    return true;
}

void SecurityIdDialog::OnCommand(int id, int code) {
    if (id == IDC_SECURITY_ID_OK) {
        SendSecurityId();
        return;
    }
    Dialog::OnCommand(id, code);
}

void SecurityIdDialog::SendSecurityId() {
    DialogHost& host = *Host();
    char(&buffer)[sizeof CardState::securityId] = context_.driver.card.securityId;
    const std::string text = host.GetItemText(IDC_SECURITY_ID_EDIT);
    const size_t length = std::min(text.size(), kSecurityIdMaxLength);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';

    host.CaptureWithWaitCursor();
    // The worker sends its own copy, taken now: an entry confirmed again while it still runs
    // then cannot change the text under it.
    std::array<char, kSecurityIdMaxLength + 1> sent{};
    std::memcpy(sent.data(), buffer, length + 1);
    Driver& driver = context_.driver;
    context_.shell.StartWorker(
        kThreadPriorityHighest, [&driver, sent] { SetSecurityId(driver, sent.data()); },
        host.Window(), kMessageSecurityIdSent);
    host.EndDialog(kIdOk);
}

bool SecurityIdDialog::OnUser(uint32_t message, uintptr_t, intptr_t) {
    if (message != kMessageSecurityIdSent) {
        return false;
    }
    Host()->ReleaseWithArrowCursor();
    return true;
}

}  // namespace vz
