// The Status Monitor's information window: it owns the polling timer, the tray entry and the
// information text, and starts the configuration tool on a double click of the tray icon.
#pragma once

#include <cstdint>
#include <string>

#include "ruvedor/app/monitor_context.h"
#include "settings/adapter_settings.h"
#include "ui/codes.h"
#include "ui/dialog.h"

namespace vz {

// Which tray icon shows; the values are the ones the monitor has always used.
enum class TrayState {
    LinkDark = 0,
    LinkLit = 1,
    OutOfRange = 2,
    UtilityRunning = 3,
    NotShown = 4
};

enum class TrayMode { kUpdate, kDelete };

// The tray entry reports mouse actions on its icon with this message.
inline constexpr uint32_t TRAY_CALLBACK_MESSAGE = kWmUser + 100;

class StatusMonitorDialog : public Dialog {
  public:
    // How the dialog ends when the driver cannot be opened and the adapter is no PC card.
    static constexpr int kEndNoDriver = 0x7B00;

    static constexpr uint32_t kPollTimer = 1;
    static constexpr uint32_t kFirstTickMs = 100;
    static constexpr uint32_t kLivePeriodMs = 1000;
    static constexpr uint32_t kStaticPeriodMs = 10000;
    static constexpr uint32_t kBackOffMs = 10000;

    // The retry window of one tick. The dialog answers nothing while a tick runs, so the card
    // is asked again only for a short while: 100 ms for a Station or a Master (also when no
    // station type is stored, which reads as Station), 200 ms for an Alternate Master, which
    // takes longer to come back to its Master. Between attempts the thread sleeps rather than
    // yields, so a card that stays out of range costs a handful of requests, not a busy loop.
    static constexpr uint32_t kRetryWindowMs = 100;
    static constexpr uint32_t kRetryWindowAlternateMasterMs = 200;
    static constexpr uint32_t kRetryPauseMs = 20;
    // Bounds the attempts even if the clock should stand still.
    static constexpr int kMaxAttemptsPerTick = 12;

    explicit StatusMonitorDialog(MonitorContext& context);

    bool OnInitDialog() override;
    void OnCommand(int id, int code) override;
    void OnTimer(uint32_t id) override;
    bool OnSysCommand(uint32_t id) override;
    void OnClose() override;
    void OnPaint() override;
    void OnDestroy() override;
    bool OnUser(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // The timer's tick: Zazivev's window, else the card's sync state, then the tray.
    void PollCard(uint32_t eventId);
    void UpdateTrayIcon(WindowRef window, TrayMode mode, uint8_t synchronised);
    // Rebuilds the text of the information window.
    void RefreshInformation();
    // Finds zazivev.exe and starts it without waiting.
    void StartConfigurationTool();
    // wParam: the tray icon id; lParam: the mouse message.
    int OnTrayNotify(uintptr_t wParam, intptr_t lParam);

    TrayState GetTrayState() const { return trayState_; }
    uint32_t TrayIconId() const { return trayIconId_; }
    uint8_t LastSyncState() const { return lastSyncState_; }
    const std::string& LastMasterName() const { return lastMasterName_; }
    bool UtilityRunning() const { return utilityRunning_; }

    AdapterSettings settings;

  private:
    void RestartTimer(uint32_t periodMs);
    uint32_t RetryWindowMs() const;
    // GetMasterNode into the card state, which takes the texts only from a complete answer.
    int QueryMasterNode(uint8_t& syncState);
    int ReadDriverVersion();
    int ReadRomVersion();
    std::string NodeLine(const char* format) const;
    std::string SynchronisedLine() const;
    void ShowStartupError();
    void RemoveMonitor();
    void OnTaskbarCreated();
    // Shows `iconResourceId` with `tip`, adding the entry when there is none; `next` is the state
    // once the shell took it.
    void ShowTrayEntry(WindowRef window, int iconResourceId, const std::string& tip,
                       TrayState next);
    void ShowUtilityRunning(WindowRef window, uint8_t synchronised);
    bool TrayAdd(WindowRef window, uint32_t id, int iconResourceId, const std::string& tip);
    bool TrayModify(WindowRef window, int iconResourceId, const std::string& tip);
    bool TrayDelete(WindowRef window);

    MonitorContext& context_;
    uint32_t timerId_ = 0;
    uint32_t taskbarCreatedMessage_ = 0;
    TrayState trayState_ = TrayState::NotShown;
    uint32_t trayIconId_ = 0;
    bool blinkPhase_ = false;
    uint8_t lastSyncState_ = 0;
    bool utilityRunning_ = false;
    bool firstTickPending_ = true;
    bool slowRetryPending_ = false;
    std::string lastMasterName_;
};

// The tray tip for a synchronised card, and the cut every tip gets: the shell's field holds 63
// characters, and a longer text is cut there on purpose rather than left to the shell.
std::string SynchronisedTip(const std::string& masterName);
std::string TrayTip(const std::string& text);

// The start-up message when the driver cannot be opened, worded for the Windows family.
std::string StartupErrorMessage(SystemVersion version);

}  // namespace vz
