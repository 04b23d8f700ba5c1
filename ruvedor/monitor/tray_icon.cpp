// The tray entry: which icon and tip show for the link state, and keeping the entry alive.
#include "ruvedor/monitor/tray_icon.h"

#include "ruvedor/res/resource.h"
#include "ruvedor/texts.h"
#include "driver/card_text.h"

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

void TrayIcon::Reset() {
    state_ = TrayState::kNotShown;
    blinkPhase_ = false;
    utilityRunning_ = false;
    synchronised_ = 0;
    masterName_.clear();
}

void TrayIcon::Update(WindowRef window, bool utilityRunning, uint8_t synchronised,
                      const std::string& masterName) {
    utilityRunning_ = utilityRunning;
    synchronised_ = synchronised;
    masterName_ = masterName;
    if (utilityRunning) {
        if (state_ != TrayState::kUtilityRunning) {
            ShowUtilityRunning(window, synchronised != 0 ? SynchronisedTip(masterName)
                                                         : TrayTip(monitor_texts::kTipOutOfRange));
        }
        return;
    }
    if (synchronised != 0) {
        // The green light blinks at the polling rate.
        const bool wasLit = blinkPhase_;
        blinkPhase_ = !wasLit;
        Show(window, wasLit ? IDI_LINK_DARK : IDI_LINK_LIT, SynchronisedTip(masterName),
             wasLit ? TrayState::kLinkDark : TrayState::kLinkLit);
        return;
    }
    // Out of range stays as it is until something changes.
    if (state_ == TrayState::kOutOfRange) {
        return;
    }
    Show(window, IDI_OUT_OF_RANGE, TrayTip(monitor_texts::kTipOutOfRange), TrayState::kOutOfRange);
}

void TrayIcon::Delete(WindowRef window) {
    // An entry the shell would not delete may still be showing; it is tried again later.
    if (state_ != TrayState::kNotShown && Remove(window)) {
        state_ = TrayState::kNotShown;
    }
}

void TrayIcon::OnTaskbarCreated(WindowRef window) {
    // None is added while the driver is lost.
    if (state_ == TrayState::kNotShown) {
        return;
    }
    // When the old entry survived after all, it goes first: a second icon under another id
    // would stay behind, never updated again.
    Remove(window);
    state_ = TrayState::kNotShown;
    Update(window, utilityRunning_, synchronised_, masterName_);
}

void TrayIcon::Show(WindowRef window, int iconResourceId, const std::string& tip, TrayState next) {
    if (state_ != TrayState::kNotShown) {
        if (Modify(window, iconResourceId, tip)) {
            state_ = next;
            return;
        }
        // The shell lost the entry (its taskbar was restarted, say): every later modify would
        // fail too, so the entry is made anew rather than the tray left empty for good.
        Remove(window);
        state_ = TrayState::kNotShown;
    }
    // The entry's id is the icon it was added with.
    if (Add(window, static_cast<uint32_t>(iconResourceId), iconResourceId, tip)) {
        iconId_ = static_cast<uint32_t>(iconResourceId);
        state_ = next;
    }
}

void TrayIcon::ShowUtilityRunning(WindowRef window, const std::string& tip) {
    if (state_ == TrayState::kNotShown) {
        Add(window, IDI_UTILITY_RUNNING, 0, std::string());
        iconId_ = IDI_UTILITY_RUNNING;
    }
    if (Modify(window, IDI_UTILITY_RUNNING, tip)) {
        state_ = TrayState::kUtilityRunning;
        return;
    }
    Remove(window);
    state_ = TrayState::kNotShown;
    if (Add(window, IDI_UTILITY_RUNNING, IDI_UTILITY_RUNNING, tip)) {
        iconId_ = IDI_UTILITY_RUNNING;
        state_ = TrayState::kUtilityRunning;
    }
}

bool TrayIcon::Add(WindowRef window, uint32_t id, int iconResourceId, const std::string& tip) {
    return shell_.TrayAdd(
        TrayEntry{window, id, kTrayFlags, kTrayCallbackMessage, iconResourceId, tip});
}

bool TrayIcon::Modify(WindowRef window, int iconResourceId, const std::string& tip) {
    return shell_.TrayModify(
        TrayEntry{window, iconId_, kTrayFlags, kTrayCallbackMessage, iconResourceId, tip});
}

bool TrayIcon::Remove(WindowRef window) {
    return shell_.TrayDelete(TrayEntry{window, iconId_, 0, 0, 0, std::string()});
}

}  // namespace vz
