// The monitor's small dialogs: the start-up error box and the About box.
#pragma once

#include <string>

#include "platform/system_version.h"
#include "ui/dialog.h"

namespace vz {

// "Error": one message of several lines and OK. The message is empty until the opener sets it.
class MonitorErrorDialog : public Dialog {
  public:
    explicit MonitorErrorDialog(std::string message);
    bool OnInitDialog() override;

  private:
    const std::string message_;
};

class MonitorAboutDialog : public Dialog {
  public:
    MonitorAboutDialog();
};

// The start-up message when the driver cannot be opened, worded for the Windows family.
std::string StartupErrorMessage(SystemVersion version);

}  // namespace vz
