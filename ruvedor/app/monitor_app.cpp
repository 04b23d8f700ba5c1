// The monitor's application object.
#include "ruvedor/app/monitor_app.h"

#include "platform/running_copy.h"
#include "ruvedor/monitor/status_monitor_dialog.h"
#include "ruvedor/res/strings.h"

namespace vz {

bool MonitorApp::RaiseRunningMonitor(Shell& shell) {
    return RaiseRunningCopy(shell, TEXT_MONITOR_CAPTION);
}

int MonitorApp::Run(const MainDialogRunner& runMainDialog) {
    StatusMonitorDialog dialog(context_);
    runMainDialog(dialog);
    return 0;
}

}  // namespace vz
