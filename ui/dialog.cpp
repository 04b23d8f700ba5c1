// The default answers a dialog gives when a handler is not overridden.
#include "ui/dialog.h"

#include "ui/codes.h"
#include "ui/dialog_host.h"

namespace vz {

Dialog::~Dialog() {
    if (host_ != nullptr) {
        host_->DestroyWindow();
    }
}

void Dialog::OnCommand(int id, int code) {
    if ((id == kIdOk || id == kIdCancel) && code == kBnClicked && host_ != nullptr) {
        host_->EndDialog(id);
    }
}

void Dialog::OnClose() {
    OnCommand(kIdCancel, kBnClicked);
}

}  // namespace vz
