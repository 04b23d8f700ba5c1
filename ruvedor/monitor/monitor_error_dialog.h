// The monitor's small dialogs: the start-up error box and the About box.
#pragma once

#include <string>

#include "ui/dialog.h"

namespace vz {

// "Error": one message of several lines and OK. The message is empty until the opener sets it.
class MonitorErrorDialog : public Dialog {
  public:
    MonitorErrorDialog();
    bool OnInitDialog() override;

    std::string message;
};

class MonitorAboutDialog : public Dialog {
  public:
    MonitorAboutDialog();
};

}  // namespace vz
