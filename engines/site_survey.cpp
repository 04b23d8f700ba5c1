// The site survey: its listening and echo-wait cycle, the lock on a Master and the roaming.
#include "engines/site_survey.h"

#include <cstdio>
#include <cstring>

#include "driver/card_control.h"
#include "driver/card_text.h"
#include "driver/ping.h"
#include "driver/roaming_follow.h"

namespace vz {

namespace {

constexpr int kMaxEchoChecks = 15;
constexpr uint32_t kBroadcastBytes = 1500;
// A driver that never stops offering replies must not hold the tick.
constexpr int kMaxRepliesPerDrain = 1000;

// The version text's characters 5 and 6 as a number above 48, or exactly firmware V1.47a.
bool FirmwareCanLock(const char (&version)[32]) {
    const char digits[3] = {version[4], version[4] == '\0' ? '\0' : version[5], '\0'};
    return LeadingDecimal(digits) > 48 || std::strncmp(version, "V1.47a", 6) == 0;
}

// A reading the survey can go on with: it arrived whole and names the card's own address.
bool SoundReading(Status status, const MasterReading& reading, bool& driverLost) {
    driverLost = driverLost || status == Status::kChannelLost;
    return status == Status::kOk && reading.nodeAddress[0] != '\0';
}

}  // namespace

SiteSurvey::SiteSurvey(ProgramContext& context, int stationType, int domain, uint8_t inRange,
                       SurveyView& view)
    : context_(context),
      stationType_(stationType),
      domain_(domain),
      inRange_(inRange),
      view_(view) {}

bool SiteSurvey::Begin() {
    lastCycleEnd_ = context_.clock.NowMs() - kCycleMs;
    echoChecks_ = 0;
    awaitingSync_ = false;
    uint8_t roaming = 1;
    GetRoamingFlag(context_.driver, roaming);
    return roaming == 0;
}

void SiteSurvey::Reset() {
    table_.Reset();
    char version[32] = {};
    GetVersion(context_.driver, version);
    canLock_ = FirmwareCanLock(version);
    relockPending_ = false;
    driverLost_ = false;
    // A card that is itself the Master never hears itself: its row 0 is skipped.
    const CardState& card = context_.driver.card;
    lowestEntry_ = std::strcmp(card.masterAddress, card.nodeAddress) == 0 ? 1 : 0;
    view_.ShowSurveyReset();
}

void SiteSurvey::Tick(bool echo) {
    if (driverLost_ && !ReopenDriver()) {
        return;
    }
    if (echo) {
        EchoStep();
        return;
    }
    SurveyTick();
}

bool SiteSurvey::ReopenDriver() {
    Driver& driver = context_.driver;
    if (OpenDriver(driver) != Status::kOk || RestartDriver(driver) != Status::kOk ||
        GetSyncState(driver, inRange_) == Status::kChannelLost) {
        // Without a channel the card is as good as out of range: say so.
        view_.ShowOutOfRange(true);
        return false;
    }
    driverLost_ = false;
    view_.ShowOutOfRange(false);
    return true;
}

void SiteSurvey::SurveyTick() {
    Driver& driver = context_.driver;
    const Status status = GetSyncState(driver, inRange_);
    if (awaitingSync_ && (status != Status::kOk || inRange_ == 0)) {
        driverLost_ = driverLost_ || status == Status::kChannelLost;
        relockPending_ = true;
        view_.ShowOutOfRange(true);
        return;
    }
    awaitingSync_ = false;
    if (relockPending_ && !Relock()) {
        return;
    }
    if (!FollowRoaming()) {
        return;
    }
    CollectReplies();
    if (context_.clock.NowMs() - lastCycleEnd_ < kCycleMs) {
        return;
    }
    table_.ComputeFigures();
    view_.ShowRows();
    view_.Listen(false);
    uint32_t transmitTime = 0;
    const Status sent = SendPing(driver, kBroadcastAddress, kBroadcastBytes, kPingKindBroadcast,
                                 inRange_, transmitTime, pingId_);
    if (PingOnItsWay(sent, kPingKindBroadcast)) {
        view_.AwaitEcho(true);
        return;
    }
    driverLost_ = driverLost_ || sent == Status::kChannelLost;
    view_.Listen(true);
}

bool SiteSurvey::Relock() {
    view_.ClearRows();
    MasterReading now;
    const Status read = GetMasterNode(context_.driver, now);
    inRange_ = now.syncState;
    if (!SoundReading(read, now, driverLost_)) {
        return false;
    }
    // With no locked Master there is nowhere to go back to: the card stays where it is.
    if (lockedMaster_.name[0] != '\0' && std::strcmp(lockedMaster_.name, now.name) != 0) {
        const Status status = SynchToMaster(context_.driver, stationType_,
                                            static_cast<uint8_t>(domain_), lockedMaster_);
        relockPending_ = status != Status::kOk;
        driverLost_ = driverLost_ || status == Status::kChannelLost;
        view_.ShowOutOfRange(true);
        return false;
    }
    view_.ShowOutOfRange(false);
    relockPending_ = false;
    AdoptMaster(context_.driver.card, now);
    return true;
}

bool SiteSurvey::FollowRoaming() {
    CardState& card = context_.driver.card;
    MasterReading now;
    Status read = Status::kOk;
    const Roaming roaming = CheckRoaming(context_.driver, card.masterAddress, now, read);
    if (roaming == Roaming::kOff) {
        return true;
    }
    inRange_ = now.syncState;
    if (!SoundReading(read, now, driverLost_)) {
        return false;
    }
    if (roaming == Roaming::kNewMaster) {
        AdoptMaster(card, now);
        view_.ClearRows();
        Reset();
    }
    return true;
}

void SiteSurvey::EchoStep() {
    CollectReplies();
    uint32_t echoTime = 0;
    const Status status = GetPingEcho(context_.driver, pingId_, echoTime);
    if (status == Status::kEchoPending && echoChecks_ < kMaxEchoChecks) {
        ++echoChecks_;
        return;
    }
    // Still pending after every check, or a failed poll: the broadcast never completed.
    inRange_ = status == Status::kEchoPending || StatusCode(status) < 0 ? 0 : 1;
    driverLost_ = driverLost_ || status == Status::kChannelLost;
    echoChecks_ = 0;
    lastCycleEnd_ = context_.clock.NowMs();
    view_.AwaitEcho(false);
    view_.Listen(true);
    view_.ShowOutOfRange(inRange_ == 0 || !table_.MasterHeard());
    table_.Advance();
}

void SiteSurvey::CollectReplies() {
    Driver& driver = context_.driver;
    for (int taken = 0; taken < kMaxRepliesPerDrain; ++taken) {
        char address[kNodeAddressTextSize] = "";
        uint32_t bytes = 0;
        uint8_t signal = 0;
        const Status status = GetPing(driver, address, bytes, signal);
        // A failed request carries no reply, whatever its status.
        if (status != Status::kPingTaken) {
            driverLost_ = driverLost_ || status == Status::kChannelLost;
            return;
        }
        if (table_.TakeReply(address, signal, driver.card.masterAddress) ==
            NodeTable::Reply::kNodeAdded) {
            view_.ShowNodeAdded(table_.HighestEntry());
        }
    }
}

void SiteSurvey::SetRoaming(bool enabled, const std::string& shownName,
                            const std::string& shownAddress) {
    Driver& driver = context_.driver;
    awaitingSync_ = true;
    uint8_t roaming = 0xFF;
    GetRoamingFlag(driver, roaming);
    if (enabled && roaming == 1) {
        SetRoamingFlag(driver, 0);
        // A card free to roam has no Master to be taken back to: a relock now would hold it again.
        lockedMaster_ = MasterReading{};
    } else if (!enabled && roaming == 0) {
        SetRoamingFlag(driver, 1);
    } else {
        return;
    }
    view_.Busy(true);
    view_.Listen(false);
    MasterReading master;
    if (!SoundReading(GetMasterNode(driver, master), master, driverLost_)) {
        view_.Busy(false);
        view_.Listen(true);
        return;
    }
    if (!enabled) {
        // The Master shown in the first row is the one to stay with.
        if (!shownName.empty() && shownName != master.name) {
            CopyText(master.name, shownName.c_str());
            CopyText(master.address, shownAddress.c_str());
        }
    }
    CloseCard(driver);
    InitCard(driver, master.syncState, 0, kInitCardLongerWait);
    bool lockFailed = false;
    if (canLock_ && !enabled) {
        const Status status =
            SynchToMaster(driver, stationType_, static_cast<uint8_t>(domain_), master);
        lockFailed = status != Status::kOk;
        if (lockFailed) {
            lockedMaster_ = master;
        }
    }
    view_.ClearRows();
    Reset();
    // A failed lock stays pending across the reset, so the next tick tries it again.
    relockPending_ = lockFailed;
    view_.Busy(false);
}

void SiteSurvey::End() {
    // Leaving the survey always hands the card back to roaming.
    SetRoamingFlag(context_.driver, 0);
}

}  // namespace vz
