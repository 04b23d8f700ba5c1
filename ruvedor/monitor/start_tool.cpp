// Starting Zazivev from the tray icon.
#include "platform/path_search.h"
#include "ruvedor/monitor/status_monitor_dialog.h"
#include "ruvedor/res/strings.h"
#include "ui/dialog_host.h"

namespace vz {

namespace {

// The tool's command line has always carried these two words after its path.
constexpr char kToolArguments[] = " _spawnlp two";

}  // namespace

void StatusMonitorDialog::StartConfigurationTool() {
    DialogHost& host = *Host();
    host.KillTimer(kPollTimer);
    const std::string path = SearchCurrentDirectoryAndPath(context_.shell, TEXT_TOOL_FILE);
    // Not found, or not started: nothing to tell; the tray shows the tool once its window is up.
    if (!path.empty()) {
        context_.shell.StartProcess(path, path + kToolArguments);
    }
    const uint32_t id = host.SetTimer(kPollTimer, kLivePeriodMs);
    if (id != 0) {
        timerId_ = id;
    }
}

}  // namespace vz
