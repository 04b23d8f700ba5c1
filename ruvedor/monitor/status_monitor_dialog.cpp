// The information window: start-up, its buttons and system menu, and the tray icon's messages.
#include "ruvedor/monitor/status_monitor_dialog.h"

#include <cstring>

#include "driver/card_text.h"
#include "ruvedor/monitor/monitor_error_dialog.h"
#include "ruvedor/res/resource.h"
#include "ruvedor/res/strings.h"
#include "ui/dialog_host.h"
#include "ui/minimised_icon.h"

namespace vz {

StatusMonitorDialog::StatusMonitorDialog(ProgramContext& context)
    : Dialog(IDD_MONITOR),
      settings_(context.registry, context.version),
      context_(context),
      tray_(context.shell) {}

bool StatusMonitorDialog::OnInitDialog() {
    DialogHost& host = *Host();
    if (std::strlen(TEXT_ABOUTBOX) != 0) {
        host.SystemMenuAppend(IDM_ABOUTBOX, TEXT_ABOUTBOX);
    }
    host.SetIcon(IDI_MONITOR);

    settings_.StationIsNotStation = 0;
    settings_.IsPcCard = 0;
    settings_.Load(SettingsReader::kMonitor);

    utilityRunning_ = false;
    tray_.Reset();
    lastSyncState_ = 0;
    slowRetryPending_ = false;
    firstTickPending_ = true;
    lastMasterName_.clear();
    // The shell says so when its taskbar comes back (after a crash of the shell, say); the
    // entry is then put back at once.
    taskbarCreatedMessage_ = context_.shell.RegisterTaskbarCreatedMessage();

    if (OpenDriver(context_.driver) == Status::kOk) {
        RefreshInformation();
    } else {
        ShowStartupError();
        // A PC card may simply not be inserted yet: its monitor stays and the polling keeps
        // opening the driver. Any other adapter has no driver to wait for.
        if (settings_.IsPcCard == 0) {
            host.EndDialog(kEndNoDriver);
            return true;
        }
    }
    timerId_ = host.SetTimer(kPollTimer, kFirstTickMs);
    return true;
}

void StatusMonitorDialog::ShowStartupError() {
    MonitorErrorDialog error(StartupErrorMessage(context_.version));
    Host()->RunModal(error);
}

void StatusMonitorDialog::OnCommand(int id, int code) {
    switch (id) {
        case kIdOk:
            RemoveMonitor();
            return;
        case kIdCancel:
            // Escape hides the window like the close box: the monitor runs on in the tray, and
            // only "Remove" ends it, with its tray entry taken away.
            Host()->Show(false);
            return;
        case IDC_MONITOR_HIDE:
            Host()->Show(false);
            return;
        default:
            return;
    }
}

void StatusMonitorDialog::OnClose() {
    Host()->Show(false);
}

void StatusMonitorDialog::RemoveMonitor() {
    DialogHost& host = *Host();
    tray_.Delete(host.Window());
    host.KillTimer(kPollTimer);
    host.EndDialog(kIdOk);
}

void StatusMonitorDialog::OnTimer(uint32_t id) {
    PollCard(id);
}

bool StatusMonitorDialog::OnSysCommand(uint32_t id) {
    if ((id & ~0xFu) != IDM_ABOUTBOX) {
        return false;
    }
    MonitorAboutDialog about;
    Host()->RunModal(about);
    return true;
}

void StatusMonitorDialog::OnPaint() {
    PaintIconWhileMinimised(*Host(), IDI_MONITOR);
}

void StatusMonitorDialog::OnDestroy() {
    // However the window goes, it takes its tray entry along rather than leave a dead icon.
    tray_.Delete(Host()->Window());
    context_.shell.QuitHelpEngine(Host()->Window());
}

bool StatusMonitorDialog::OnUser(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == kTrayCallbackMessage) {
        OnTrayNotify(lParam);
        return true;
    }
    if (taskbarCreatedMessage_ != 0 && message == taskbarCreatedMessage_) {
        tray_.OnTaskbarCreated(Host()->Window());
        return true;
    }
    return false;
}

void StatusMonitorDialog::OnTrayNotify(intptr_t lParam) {
    DialogHost& host = *Host();
    switch (static_cast<uint32_t>(lParam)) {
        case kWmLButtonDblClk:
            StartConfigurationTool();
            break;
        case kWmRButtonDown:
            RefreshInformation();
            host.Show(true);
            host.BringToForeground();
            break;
        default:
            break;
    }
}

void StatusMonitorDialog::UpdateTray(uint8_t synchronised) {
    tray_.Update(Host()->Window(), utilityRunning_, synchronised,
                 FieldText(context_.driver.card.masterName));
}

void StatusMonitorDialog::RestartTimer(uint32_t periodMs) {
    DialogHost& host = *Host();
    host.KillTimer(kPollTimer);
    const uint32_t id = host.SetTimer(kPollTimer, periodMs);
    if (id != 0) {
        timerId_ = id;
    }
}

}  // namespace vz
