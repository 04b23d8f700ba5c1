// The Status Monitor's information window: it owns the polling timer, the tray entry and the
// information text, and starts the configuration tool on a double click of the tray icon.
#pragma once

#include <cstdint>
#include <string>

#include "program/program_context.h"
#include "ruvedor/monitor/tray_icon.h"
#include "settings/adapter_settings.h"
#include "ui/codes.h"
#include "ui/dialog.h"

namespace vz {

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
    // yields, 100 ms at a time, so a card that stays out of range is asked twice a tick (three
    // times for an Alternate Master), not in a busy loop: a card that has just found its
    // Master again is still shown at once.
    static constexpr uint32_t kRetryWindowMs = 100;
    static constexpr uint32_t kRetryWindowAlternateMasterMs = 200;
    static constexpr uint32_t kRetryPauseMs = 100;
    // Bounds the attempts even if the clock should stand still.
    static constexpr int kMaxAttemptsPerTick = 12;

    explicit StatusMonitorDialog(ProgramContext& context);

  private:
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
    // The tray for the last seen link state, with the card state's Master name.
    void UpdateTray(uint8_t synchronised);
    // Rebuilds the text of the information window.
    void RefreshInformation();
    // Finds zazivev.exe and starts it without waiting.
    void StartConfigurationTool();
    // lParam: the mouse message.
    void OnTrayNotify(intptr_t lParam);

    void RestartTimer(uint32_t periodMs);
    uint32_t RetryWindowMs() const;
    // GetMasterNode into the card state, which takes the texts only from a complete answer.
    Status QueryMasterNode(uint8_t& syncState);
    Status ReadDriverVersion();
    Status ReadRomVersion();
    std::string NodeLine(const char* format) const;
    std::string SynchronisedLine() const;
    void ShowStartupError();
    void RemoveMonitor();

    AdapterSettings settings_;
    ProgramContext& context_;
    uint32_t timerId_ = 0;
    uint32_t taskbarCreatedMessage_ = 0;
    TrayIcon tray_;
    uint8_t lastSyncState_ = 0;
    bool utilityRunning_ = false;
    bool firstTickPending_ = true;
    bool slowRetryPending_ = false;
    std::string lastMasterName_;
};

}  // namespace vz
