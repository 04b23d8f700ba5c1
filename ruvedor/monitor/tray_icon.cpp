// The tray entry: which icon and tip show for the link state, and keeping the entry alive.
#include "driver/card_text.h"
#include "ruvedor/monitor/status_monitor_dialog.h"
#include "ruvedor/res/resource.h"
#include "ruvedor/texts.h"

namespace vz {

namespace {

constexpr uint32_t kTrayFlags = kTrayFlagMessage | kTrayFlagIcon | kTrayFlagTip;

}  // namespace

std::string TrayTip(const std::string& text) {
    return text.substr(0, kTrayTipCapacity - 1);
}

std::string SynchronisedTip(const std::string& masterName) {
    return TrayTip(FormatText(monitor_texts::kTipSynchronised, masterName.c_str()));
}

void StatusMonitorDialog::UpdateTrayIcon(WindowRef window, TrayMode mode, uint8_t synchronised) {
    if (mode == TrayMode::kDelete) {
        // An entry the shell would not delete may still be showing; it is tried again later.
        if (trayState_ != TrayState::NotShown && TrayDelete(window))
            trayState_ = TrayState::NotShown;
        return;
    }
    if (utilityRunning_) {
        ShowUtilityRunning(window, synchronised);
        return;
    }
    if (synchronised != 0) {
        // The green light blinks at the polling rate.
        const bool wasLit = blinkPhase_;
        blinkPhase_ = !wasLit;
        ShowTrayEntry(window, wasLit ? IDI_LINK_DARK : IDI_LINK_LIT,
                      SynchronisedTip(FieldText(context_.driver.card.masterName)),
                      wasLit ? TrayState::LinkDark : TrayState::LinkLit);
        return;
    }
    // Out of range stays as it is until something changes.
    if (trayState_ == TrayState::OutOfRange)
        return;
    ShowTrayEntry(window, IDI_OUT_OF_RANGE, TrayTip(monitor_texts::kTipOutOfRange),
                  TrayState::OutOfRange);
}

void StatusMonitorDialog::ShowTrayEntry(WindowRef window, int iconResourceId,
                                        const std::string& tip, TrayState next) {
    if (trayState_ != TrayState::NotShown) {
        if (TrayModify(window, iconResourceId, tip)) {
            trayState_ = next;
            return;
        }
        // The shell lost the entry (its taskbar was restarted, say): every later modify would
        // fail too, so the entry is made anew rather than the tray left empty for good.
        TrayDelete(window);
        trayState_ = TrayState::NotShown;
    }
    // The entry's id is the icon it was added with; later calls keep using it.
    if (TrayAdd(window, static_cast<uint32_t>(iconResourceId), iconResourceId, tip)) {
        trayIconId_ = static_cast<uint32_t>(iconResourceId);
        trayState_ = next;
    }
}

void StatusMonitorDialog::ShowUtilityRunning(WindowRef window, uint8_t synchronised) {
    if (trayState_ == TrayState::UtilityRunning)
        return;
    if (trayState_ == TrayState::NotShown) {
        TrayAdd(window, IDI_UTILITY_RUNNING, 0, std::string());
        trayIconId_ = IDI_UTILITY_RUNNING;
    }
    const std::string tip = synchronised != 0
                                ? SynchronisedTip(FieldText(context_.driver.card.masterName))
                                : TrayTip(monitor_texts::kTipOutOfRange);
    if (TrayModify(window, IDI_UTILITY_RUNNING, tip)) {
        trayState_ = TrayState::UtilityRunning;
        return;
    }
    TrayDelete(window);
    trayState_ = TrayState::NotShown;
    if (TrayAdd(window, IDI_UTILITY_RUNNING, IDI_UTILITY_RUNNING, tip)) {
        trayIconId_ = IDI_UTILITY_RUNNING;
        trayState_ = TrayState::UtilityRunning;
    }
}

bool StatusMonitorDialog::TrayAdd(WindowRef window, uint32_t id, int iconResourceId,
                                  const std::string& tip) {
    return context_.shell.TrayAdd(
        TrayEntry{window, id, kTrayFlags, TRAY_CALLBACK_MESSAGE, iconResourceId, tip});
}

bool StatusMonitorDialog::TrayModify(WindowRef window, int iconResourceId, const std::string& tip) {
    return context_.shell.TrayModify(
        TrayEntry{window, trayIconId_, kTrayFlags, TRAY_CALLBACK_MESSAGE, iconResourceId, tip});
}

bool StatusMonitorDialog::TrayDelete(WindowRef window) {
    return context_.shell.TrayDelete(TrayEntry{window, trayIconId_, 0, 0, 0, std::string()});
}

}  // namespace vz
