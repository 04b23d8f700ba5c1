// The Change Domain prompt, the Error box and the Status window.
#include "zazivev/config/message_dialogs.h"

#include <cstdio>

#include "ui/codes.h"
#include "ui/dialog_host.h"
#include "zazivev/res/resource.h"
#include "zazivev/texts.h"

namespace vz {

ChangeDomainDialog::ChangeDomainDialog(int domain) : Dialog(IDD_CHANGE_DOMAIN), domain_(domain) {}

bool ChangeDomainDialog::OnInitDialog() {
    char text[48];
    std::snprintf(text, sizeof text, texts::kChangeDomainPrompt, domain_);
    Host()->SetItemText(IDC_CHANGE_DOMAIN_PROMPT, text);
    confirmed_ = false;
    return true;
}

void ChangeDomainDialog::OnCommand(int id, int code) {
    if (id == kIdOk) {
        confirmed_ = true;
    }
    Dialog::OnCommand(id, code);
}

ErrorDialog::ErrorDialog(std::string title, std::string text)
    : Dialog(IDD_ERROR), title(std::move(title)), text(std::move(text)) {}

bool ErrorDialog::OnInitDialog() {
    Host()->SetItemText(IDC_ERROR_TITLE, title);
    Host()->SetItemText(IDC_ERROR_TEXT, text);
    return true;
}

StatusDialog::StatusDialog(std::string text) : Dialog(IDD_STATUS), text(std::move(text)) {}

bool StatusDialog::OnInitDialog() {
    Host()->SetItemText(IDC_STATUS_TEXT, text);
    return true;
}

}  // namespace vz
