// The polling tick: stand aside while Zazivev runs, else ask the card whether it is synchronised.
#include <cstring>

#include "driver/card_text.h"
#include "driver/status_queries.h"
#include "ruvedor/monitor/status_monitor_dialog.h"
#include "ruvedor/res/strings.h"
#include "ui/dialog_host.h"

namespace vz {

void StatusMonitorDialog::PollCard(uint32_t eventId) {
    DialogHost& host = *Host();
    if (firstTickPending_) {
        // The window shows only for the moment the first tick takes to come.
        host.Show(false);
        firstTickPending_ = false;
        RestartTimer(kFirstTickMs);
    }
    if (slowRetryPending_) {
        slowRetryPending_ = false;
        RestartTimer(kLivePeriodMs);
    }
    if (eventId != timerId_) {
        return;
    }

    Clock& clock = context_.clock;
    const uint32_t start = clock.NowMs();
    utilityRunning_ = context_.shell.FindTopLevelWindow(TEXT_TOOL_CAPTION) != 0;
    if (utilityRunning_) {
        // Zazivev owns the card now: show what was last seen and leave the card alone.
        RestartTimer(kStaticPeriodMs);
        UpdateTray(lastSyncState_);
        return;
    }

    RestartTimer(kLivePeriodMs);
    uint8_t syncState = 0;
    Status status = Status::kOk;
    for (int attempt = 1;; ++attempt) {
        syncState = 0;
        status = QueryMasterNode(syncState);
        if (status == Status::kChannelLost) {
            // The channel is gone (no driver yet, or it went away): no tray icon while it is,
            // and a fresh channel is tried again in ten seconds.
            host.KillTimer(kPollTimer);
            OpenDriver(context_.driver);
            tray_.Delete(host.Window());
            const uint32_t id = host.SetTimer(kPollTimer, kBackOffMs);
            if (id != 0) {
                timerId_ = id;
            }
            slowRetryPending_ = true;
            return;
        }
        if (status != Status::kOk) {
            slowRetryPending_ = true;
            RestartTimer(kBackOffMs);
            break;
        }
        if (syncState != 0 || attempt >= kMaxAttemptsPerTick ||
            clock.NowMs() - start >= RetryWindowMs()) {
            break;
        }
        clock.SleepMs(kRetryPauseMs);
    }

    lastSyncState_ = syncState;
    const std::string masterName = FieldText(context_.driver.card.masterName);
    if (syncState != 0 && status == Status::kOk && masterName != lastMasterName_) {
        lastMasterName_ = masterName;
    }
    UpdateTray(syncState);
}

uint32_t StatusMonitorDialog::RetryWindowMs() const {
    return settings_.Station_Type == 1 ? kRetryWindowAlternateMasterMs : kRetryWindowMs;
}

Status StatusMonitorDialog::QueryMasterNode(uint8_t& syncState) {
    // A reply that fails half-way must not leave half a name in the card state: the texts are
    // taken only from a complete answer, and a failed one reads as not synchronised.
    CardState& card = context_.driver.card;
    MasterReading reading;
    const Status status = GetMasterNode(context_.driver, reading);
    if (status != Status::kOk) {
        syncState = 0;
        return status;
    }
    AdoptMaster(card, reading);
    std::memcpy(card.nodeAddress, reading.nodeAddress, sizeof card.nodeAddress);
    syncState = reading.syncState;
    return Status::kOk;
}

}  // namespace vz
