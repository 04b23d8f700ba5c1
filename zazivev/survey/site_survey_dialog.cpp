// The site survey's window, its listening and echo-wait cycle, and its handlers.
#include "zazivev/survey/site_survey_dialog.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "driver/card_control.h"
#include "driver/card_text.h"
#include "driver/ping.h"
#include "driver/roaming_follow.h"
#include "driver/status_queries.h"
#include "ui/codes.h"
#include "ui/dialog_host.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/help_dialog.h"
#include "zazivev/survey/directed_link_dialog.h"
#include "zazivev/survey/survey_scroll.h"
#include "zazivev/texts.h"

namespace vz {

namespace {

constexpr uint32_t kTimerPeriodMs = 100;
constexpr uint32_t kCycleMs = 500;
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

template <size_t N>
void CopyText(char (&to)[N], const char* from) {
    std::snprintf(to, N, "%s", from);
}

}  // namespace

SiteSurveyDialog::SiteSurveyDialog(ToolContext& context, AdapterSettings& settings, uint8_t inRange)
    : Dialog(IDD_SITE_SURVEY), context_(context), settings_(settings), inRange_(inRange) {}

bool SiteSurveyDialog::OnInitDialog() {
    DialogHost& host = *Host();
    lastCycleEnd_ = context_.clock.NowMs() - kCycleMs;
    echoChecks_ = 0;
    awaitingSync_ = false;
    surveyTimerRunning_ = false;
    uint8_t roaming = 1;
    GetRoamingFlag(context_.driver, roaming);
    host.SetCheck(IDC_SURVEY_ROAMING, roaming == 0);
    host.CheckRadio(IDC_SURVEY_TIME_OF_ARRIVAL, IDC_SURVEY_BY_ADDRESS, IDC_SURVEY_TIME_OF_ARRIVAL);
    for (int row = 0; row < kSurveyRows; ++row) {
        if (context_.version.majorVersion >= 4) {
            host.SetButtonBitmaps(IDC_SURVEY_LINK_TEST + row, "DLU", "DLD");
        } else {
            host.SetItemText(IDC_SURVEY_LINK_TEST + row, "");
        }
    }
    ResetSurvey();
    return true;
}

void SiteSurveyDialog::OnCommand(int id, int code) {
    if (id >= IDC_SURVEY_LINK_TEST && id < IDC_SURVEY_LINK_TEST + kSurveyRows) {
        TestLink(id - IDC_SURVEY_LINK_TEST);
        return;
    }
    switch (id) {
        case IDC_SURVEY_TIME_OF_ARRIVAL:
            sortOrder_ = 0;
            return;
        case IDC_SURVEY_BY_ADDRESS:
            sortOrder_ = 1;
            return;
        case IDC_SURVEY_ROAMING:
            RoamingClicked();
            return;
        case IDC_SURVEY_HELP:
            ShowHelp(context_, *Host(), HelpSectionForContext(kHelpContextSiteSurvey));
            return;
        default:
            Dialog::OnCommand(id, code);
            return;
    }
}

void SiteSurveyDialog::OnDestroy() {
    // Leaving the survey always hands the card back to roaming.
    SetRoamingFlag(context_.driver, 0);
}

void SiteSurveyDialog::StartSurveyTimer() {
    if (!surveyTimerRunning_) {
        Host()->SetTimer(kSurveyTimer, kTimerPeriodMs);
        surveyTimerRunning_ = true;
    }
}

void SiteSurveyDialog::StopSurveyTimer() {
    Host()->KillTimer(kSurveyTimer);
    surveyTimerRunning_ = false;
}

void SiteSurveyDialog::ShowOutOfRange(bool show) {
    Host()->ShowItem(IDC_SURVEY_OUT_OF_RANGE, show);
}

void SiteSurveyDialog::ResetSurvey() {
    DialogHost& host = *Host();
    table_.Reset();
    char version[32] = {};
    GetVersion(context_.driver, version);
    canLock_ = FirmwareCanLock(version);
    relockPending_ = false;
    if (settings_.Station_Type == kStationTypeMaster) {
        host.EnableItem(IDC_SURVEY_ROAMING, false);
    }
    driverLost_ = false;
    host.SetItemText(IDC_SURVEY_NODE_COUNT, "0");
    StartSurveyTimer();
    // A card that is itself the Master never hears itself: its row 0 is skipped.
    const CardState& card = context_.driver.card;
    lowestTopRow_ = std::strcmp(card.masterAddress, card.nodeAddress) == 0 ? 1 : 0;
    host.ScrollBarSetRange(IDC_SURVEY_SCROLL, lowestTopRow_, lowestTopRow_);
    topRow_ = lowestTopRow_;
}

void SiteSurveyDialog::ClearRow(int row) {
    DialogHost& host = *Host();
    host.ShowItem(IDC_SURVEY_SIGNAL_BAR + row, false);
    host.ShowItem(IDC_SURVEY_LINK_TEST + row, false);
    for (int first : {IDC_SURVEY_ADDRESS, IDC_SURVEY_MASTER_NAME, IDC_SURVEY_QUALITY,
                      IDC_SURVEY_ACTIVITY, IDC_SURVEY_SIGNAL}) {
        host.SetItemText(first + row, "");
    }
}

void SiteSurveyDialog::ClearRows() {
    for (int row = 0; row < kSurveyRows; ++row) {
        ClearRow(row);
    }
}

bool SiteSurveyDialog::ReopenDriver() {
    Driver& driver = context_.driver;
    if (OpenDriver(driver) != Status::kOk || RestartDriver(driver) != Status::kOk ||
        GetSyncState(driver, inRange_) == Status::kChannelLost) {
        // Without a channel the card is as good as out of range: say so.
        ShowOutOfRange(true);
        return false;
    }
    driverLost_ = false;
    ShowOutOfRange(false);
    return true;
}

void SiteSurveyDialog::OnTimer(uint32_t id) {
    if (driverLost_ && !ReopenDriver()) {
        return;
    }
    if (id == kEchoTimer) {
        EchoStep();
        return;
    }
    SurveyTick();
}

void SiteSurveyDialog::SurveyTick() {
    Driver& driver = context_.driver;
    const Status status = GetSyncState(driver, inRange_);
    if (awaitingSync_ && (status != Status::kOk || inRange_ == 0)) {
        driverLost_ = driverLost_ || status == Status::kChannelLost;
        relockPending_ = true;
        ShowOutOfRange(true);
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
    ShowRows();
    StopSurveyTimer();
    uint32_t transmitTime = 0;
    const Status sent = SendPing(driver, kBroadcastAddress, kBroadcastBytes, kPingKindBroadcast,
                                 inRange_, transmitTime, pingId_);
    if (PingOnItsWay(sent, kPingKindBroadcast)) {
        Host()->SetTimer(kEchoTimer, kTimerPeriodMs);
        return;
    }
    driverLost_ = driverLost_ || sent == Status::kChannelLost;
    StartSurveyTimer();
}

bool SiteSurveyDialog::Relock() {
    ClearRows();
    MasterReading now;
    const Status read = GetMasterNode(context_.driver, now);
    inRange_ = now.syncState;
    if (!SoundReading(read, now, driverLost_)) {
        return false;
    }
    // With no locked Master there is nowhere to go back to: the card stays where it is.
    if (lockedMaster_.name[0] != '\0' && std::strcmp(lockedMaster_.name, now.name) != 0) {
        const Status status = SynchToMaster(context_.driver, settings_.Station_Type,
                                            static_cast<uint8_t>(settings_.Domain), lockedMaster_);
        relockPending_ = status != Status::kOk;
        driverLost_ = driverLost_ || status == Status::kChannelLost;
        ShowOutOfRange(true);
        return false;
    }
    ShowOutOfRange(false);
    relockPending_ = false;
    AdoptMaster(context_.driver.card, now);
    return true;
}

bool SiteSurveyDialog::FollowRoaming() {
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
        ClearRows();
        ResetSurvey();
    }
    return true;
}

void SiteSurveyDialog::EchoStep() {
    DialogHost& host = *Host();
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
    host.KillTimer(kEchoTimer);
    StartSurveyTimer();
    ShowOutOfRange(inRange_ == 0 || !table_.MasterHeard());
    table_.Advance();
}

void SiteSurveyDialog::CollectReplies() {
    DialogHost& host = *Host();
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
            const int highest = table_.HighestEntry();
            host.ShowItem(IDC_SURVEY_SCROLL, highest >= kSurveyRows);
            host.ScrollBarSetRange(IDC_SURVEY_SCROLL, lowestTopRow_, highest);
        }
    }
}

void SiteSurveyDialog::ShowRows() {
    DialogHost& host = *Host();
    const CardState& card = context_.driver.card;
    host.SetItemText(IDC_SURVEY_NODE_COUNT, std::to_string(table_.NodeCount()));
    for (int row = 0; row < kSurveyRows; ++row) {
        int entry = topRow_ + row;
        const bool shown =
            (entry <= table_.HighestEntry() && entry != 0) || (entry == 0 && table_.MasterHeard());
        if (!shown) {
            ClearRow(row);
            continue;
        }
        if (sortOrder_ == 1) {
            entry = table_.ByAddress(entry);
        }
        const NodeEntry& node = table_.Entry(entry);
        host.ShowItem(IDC_SURVEY_SIGNAL_BAR + row, true);
        host.ShowItem(IDC_SURVEY_LINK_TEST + row, true);
        host.ProgressSetRange(IDC_SURVEY_SIGNAL_BAR + row, 0, 100);
        host.ProgressSetPos(IDC_SURVEY_SIGNAL_BAR + row, node.signalPercent);
        if (entry != 0) {
            host.SetItemText(IDC_SURVEY_ADDRESS + row, node.address);
            if (topRow_ != 0) {
                host.SetItemText(IDC_SURVEY_MASTER_NAME, "");
            }
        } else {
            host.SetItemText(IDC_SURVEY_MASTER_NAME, card.masterName);
            host.SetItemText(IDC_SURVEY_ADDRESS, card.masterAddress);
        }
        host.SetItemText(IDC_SURVEY_QUALITY + row, std::to_string(node.linkQuality));
        host.SetItemText(IDC_SURVEY_ACTIVITY + row, node.replies[table_.CurrentSlot()] != 0
                                                        ? texts::kSurveyHeard
                                                        : texts::kSurveyNotHeard);
        host.SetItemText(IDC_SURVEY_SIGNAL + row,
                         FormatText(texts::kSignalPercent, node.signalPercent));
    }
}

void SiteSurveyDialog::OnVScroll(int id, int request, int pos) {
    DialogHost& host = *Host();
    if (id != IDC_SURVEY_SCROLL || table_.NodeCount() <= kSurveyRows) {
        return;
    }
    const int barPos = request == kSbThumbPosition ? pos : host.ScrollBarGetPos(id);
    const SurveyScroll scroll = ScrollSurvey(request, barPos, topRow_, table_.NodeCount());
    if (request != kSbThumbTrack && request != kSbEndScroll) {
        host.ScrollBarSetPos(id, scroll.position);
    }
    topRow_ = scroll.topRow;
    ShowRows();
}

void SiteSurveyDialog::RoamingClicked() {
    DialogHost& host = *Host();
    Driver& driver = context_.driver;
    awaitingSync_ = true;
    uint8_t roaming = 0xFF;
    GetRoamingFlag(driver, roaming);
    const bool enabled = host.IsChecked(IDC_SURVEY_ROAMING);
    if (enabled && roaming == 1) {
        SetRoamingFlag(driver, 0);
        // A card free to roam has no Master to be taken back to: a relock now would hold it again.
        lockedMaster_ = MasterReading{};
    } else if (!enabled && roaming == 0) {
        SetRoamingFlag(driver, 1);
    } else {
        return;
    }
    host.CaptureWithWaitCursor();
    StopSurveyTimer();
    MasterReading master;
    if (!SoundReading(GetMasterNode(driver, master), master, driverLost_)) {
        host.ReleaseWithArrowCursor();
        StartSurveyTimer();
        return;
    }
    if (!enabled) {
        // The Master shown in the first row is the one to stay with.
        const std::string shownName = host.GetItemText(IDC_SURVEY_MASTER_NAME);
        if (!shownName.empty() && shownName != master.name) {
            CopyText(master.name, shownName.c_str());
            CopyText(master.address, host.GetItemText(IDC_SURVEY_ADDRESS).c_str());
        }
    }
    CloseCard(driver);
    InitCard(driver, master.syncState, 0, kInitCardLongerWait);
    bool lockFailed = false;
    if (canLock_ && !enabled) {
        const Status status = SynchToMaster(driver, settings_.Station_Type,
                                            static_cast<uint8_t>(settings_.Domain), master);
        lockFailed = status != Status::kOk;
        if (lockFailed) {
            lockedMaster_ = master;
        }
    }
    ClearRows();
    ResetSurvey();
    // A failed lock stays pending across the reset, so the next tick tries it again.
    relockPending_ = lockFailed;
    host.ReleaseWithArrowCursor();
}

void SiteSurveyDialog::TestLink(int row) {
    const std::string address = Host()->GetItemText(IDC_SURVEY_ADDRESS + row);
    StopSurveyTimer();
    RunDirectedLinkTest(context_, *Host(), address);
    StartSurveyTimer();
}

void RunSiteSurvey(ToolContext& context, DialogHost& host, AdapterSettings& settings,
                   uint8_t inRange) {
    SiteSurveyDialog survey(context, settings, inRange);
    ScopedHelpContext place(context.helpContext, kHelpContextSiteSurvey);
    host.RunModal(survey);
}

}  // namespace vz
