// The site survey: a broadcast ping each cycle and a table of every node that answers, with the
// card kept on its Master or let roam as the user chooses.
#pragma once

#include <cstdint>
#include <string>

#include "driver/card_control.h"
#include "driver/status_queries.h"
#include "engines/node_table.h"
#include "program/program_context.h"

namespace vz {

// What the survey asks of whoever shows it, as it happens.
class SurveyView {
  public:
    virtual ~SurveyView() = default;
    virtual void ShowOutOfRange(bool shown) = 0;
    // A cycle's figures are ready in the table.
    virtual void ShowRows() = 0;
    virtual void ClearRows() = 0;
    // A node was added as entry `highestEntry`.
    virtual void ShowNodeAdded(int highestEntry) = 0;
    // The table was emptied; its rows start at LowestEntry().
    virtual void ShowSurveyReset() = 0;
    // The survey's two schedules, 100 ms each: listening (ending a cycle when due), and polling
    // the echo of the cycle's broadcast. At most one runs at a time.
    virtual void Listen(bool on) = 0;
    virtual void AwaitEcho(bool on) = 0;
    // The card is being set up again after a change of roaming; input waits meanwhile.
    virtual void Busy(bool on) = 0;
};

class SiteSurvey {
  public:
    static constexpr uint32_t kTickMs = 100;
    static constexpr uint32_t kCycleMs = 500;

    // `stationType`, `domain`: the card's configuration, for the lock; `inRange`: the sync state
    // the opener knows.
    SiteSurvey(ProgramContext& context, int stationType, int domain, uint8_t inRange,
               SurveyView& view);

    // Reads the roaming flag. Returns: whether the card is free to roam.
    bool Begin();
    // Empties the table and starts listening.
    void Reset();
    // One tick of the listening schedule, or of the echo's when `echo`.
    void Tick(bool echo);
    // The user let the card roam (`enabled`) or held it on the Master shown in the first row,
    // `shownName` and `shownAddress` (empty when none is shown).
    void SetRoaming(bool enabled, const std::string& shownName, const std::string& shownAddress);
    // Hands the card back to roaming.
    void End();

    const NodeTable& Table() const { return table_; }
    // The first entry shown: 1 when the card is itself the Master, which never hears itself.
    int LowestEntry() const { return lowestEntry_; }
    bool CardIsMaster() const { return stationType_ == kStationTypeMaster; }

  private:
    bool ReopenDriver();
    void SurveyTick();
    // Returns false when the tick must end here.
    bool Relock();
    bool FollowRoaming();
    void EchoStep();
    void CollectReplies();

    ProgramContext& context_;
    int stationType_;
    int domain_;
    uint8_t inRange_;
    SurveyView& view_;
    NodeTable table_;
    int lowestEntry_ = 0;
    uint32_t lastCycleEnd_ = 0;
    uint8_t pingId_ = 0;
    int echoChecks_ = 0;
    bool awaitingSync_ = false;
    bool driverLost_ = false;
    bool relockPending_ = false;
    bool canLock_ = false;
    // The Master a failed lock keeps trying to go back to (name, address, channel, subchannel).
    MasterReading lockedMaster_;
};

}  // namespace vz
