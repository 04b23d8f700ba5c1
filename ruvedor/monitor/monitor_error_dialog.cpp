// The error box and the About box, and the start-up message the error box shows.
#include "ruvedor/monitor/monitor_error_dialog.h"

#include <utility>

#include "driver/card_text.h"
#include "ruvedor/res/resource.h"
#include "ruvedor/texts.h"
#include "ui/dialog_host.h"

namespace vz {

MonitorErrorDialog::MonitorErrorDialog(std::string message)
    : Dialog(IDD_MONITOR_ERROR), message_(std::move(message)) {}

bool MonitorErrorDialog::OnInitDialog() {
    Host()->SetItemText(IDC_MONITOR_ERROR_TEXT, message_);
    return true;
}

MonitorAboutDialog::MonitorAboutDialog() : Dialog(IDD_ABOUTBOX) {}

std::string StartupErrorMessage(SystemVersion version) {
    namespace t = monitor_texts;
    std::string message;
    if (version.IsWindows95Family() && version.majorVersion >= 4) {
        message = FormatText(t::kErrorNoDriver95, TEXT_PRODUCT) +
                  FormatText(t::kErrorProtocolHint, TEXT_PROTOCOL_PRODUCT);
    } else {
        message = FormatText(t::kErrorNoDriverNt, TEXT_PRODUCT);
    }
    return message + FormatText(t::kErrorNotLoaded, TEXT_PROGRAM_NAME);
}

}  // namespace vz
