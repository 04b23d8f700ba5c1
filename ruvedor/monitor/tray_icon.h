// The monitor's tray entry over the shell seam: which icon and tip show for the link state, the
// blinking, and keeping the entry alive when the shell loses it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/shell.h"
#include "ui/codes.h"

namespace vz {

// Which tray icon shows; the values are the ones the monitor has always used.
enum class TrayState {
    kLinkDark = 0,
    kLinkLit = 1,
    kOutOfRange = 2,
    kUtilityRunning = 3,
    kNotShown = 4
};

// The tray entry reports mouse actions on its icon with this message.
inline constexpr uint32_t kTrayCallbackMessage = kWmUser + 100;

class TrayIcon {
  public:
    explicit TrayIcon(Shell& shell) : shell_(shell) {}

    // Shows the link state on `window`'s entry, adding the entry when there is none: the tool's
    // icon while it runs, else a green light blinking at the calling rate while `synchronised`
    // (with `masterName` in the tip), else out of range.
    void Update(WindowRef window, bool utilityRunning, uint8_t synchronised,
                const std::string& masterName);
    // Takes the entry away; one the shell would not delete is tried again on the next call.
    void Delete(WindowRef window);
    // The shell's taskbar came back holding none of the old entries: one that was showing is
    // put back as the last update left it.
    void OnTaskbarCreated(WindowRef window);
    // Forgets the entry and the phase, for a window that starts anew.
    void Reset();

    bool Shown() const { return state_ != TrayState::kNotShown; }

  private:
    // Shows `iconResourceId` with `tip`; `next` is the state once the shell took it.
    void Show(WindowRef window, int iconResourceId, const std::string& tip, TrayState next);
    void ShowUtilityRunning(WindowRef window, const std::string& tip);
    bool Add(WindowRef window, uint32_t id, int iconResourceId, const std::string& tip);
    bool Modify(WindowRef window, int iconResourceId, const std::string& tip);
    bool Remove(WindowRef window);

    Shell& shell_;
    TrayState state_ = TrayState::kNotShown;
    // The id the entry was added under; later calls keep using it.
    uint32_t iconId_ = 0;
    bool blinkPhase_ = false;
    // The last update, for the re-add after a taskbar restart.
    bool utilityRunning_ = false;
    uint8_t synchronised_ = 0;
    std::string masterName_;
};

// The tray tip for a synchronised card, and the cut every tip gets: the shell's field holds 63
// characters, and a longer text is cut there on purpose rather than left to the shell.
std::string SynchronisedTip(const std::string& masterName);
std::string TrayTip(const std::string& text);

}  // namespace vz
