// The site survey's window, its listening and echo-wait cycle, and its handlers.
#include "zazivev/survey/site_survey_dialog.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "driver/card_control.h"
#include "driver/card_text.h"
#include "driver/ping.h"
#include "driver/request_block.h"
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

constexpr uint32_t kSurveyTimer = 1;
constexpr uint32_t kEchoTimer = 2;
constexpr uint32_t kTimerPeriodMs = 100;
constexpr uint32_t kCycleMs = 500;
constexpr int kMaxEchoChecks = 15;
constexpr uint32_t kBroadcastBytes = 1500;
// A driver that never stops offering replies must not hold the tick.
constexpr int kMaxRepliesPerDrain = 1000;
constexpr uint32_t kRoamBeepHz = 1000;
constexpr uint32_t kRoamBeepMs = 500;

// The version text's characters 5 and 6 as a number above 48, or exactly firmware V1.47a.
bool FirmwareCanLock(const char (&version)[32]) {
    const char digits[3] = {version[4], version[4] == '\0' ? '\0' : version[5], '\0'};
    return LeadingDecimal(digits) > 48 || std::strncmp(version, "V1.47a", 6) == 0;
}

// The card's current Master; false (with driver lost set on -9) when it cannot be read or the
// card gives no node address.
struct MasterReading {
    char address[kNodeAddressTextSize] = "";
    char name[kMasterNameSize] = "";
    char nodeAddress[kNodeAddressTextSize] = "";
    uint8_t channel = 0;
    uint8_t subchannel = 0;
    uint8_t syncState = 0;
};

bool ReadMaster(Driver& driver, MasterReading& reading, bool& driverLost) {
    const int status = GetMasterNode(driver, reading.address, reading.name, reading.channel,
                                     reading.subchannel, reading.nodeAddress, reading.syncState);
    if (status == kStatusChannelLost) {
        driverLost = true;
    }
    return status == 0 && reading.nodeAddress[0] != '\0';
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
    lowestTopRow_ =
        card.nodeAddress[0] != '\0' && std::strcmp(card.masterAddress, card.nodeAddress) == 0;
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
    if (OpenDriver(driver) != 0 || RestartDriver(driver) != 0 ||
        GetSyncState(driver, inRange_) == kStatusChannelLost) {
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
    const int status = GetSyncState(driver, inRange_);
    if (awaitingSync_ && (status != 0 || inRange_ == 0)) {
        driverLost_ = driverLost_ || status == kStatusChannelLost;
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
    const int sent =
        SendPing(driver, kBroadcastAddress, kBroadcastBytes, 0, inRange_, transmitTime, pingId_);
    if (sent >= 0 || sent == kStatusBusyLast) {
        Host()->SetTimer(kEchoTimer, kTimerPeriodMs);
        return;
    }
    driverLost_ = driverLost_ || sent == kStatusChannelLost;
    StartSurveyTimer();
}

bool SiteSurveyDialog::Relock() {
    ClearRows();
    MasterReading now;
    if (!ReadMaster(context_.driver, now, driverLost_)) {
        return false;
    }
    // With no locked Master there is nowhere to go back to: the card stays where it is.
    if (lockedMasterName_[0] != '\0' && std::strcmp(lockedMasterName_, now.name) != 0) {
        char name[kMasterNameSize] = {};
        char address[kNodeAddressTextSize] = {};
        CopyText(name, lockedMasterName_);
        CopyText(address, lockedMasterAddress_);
        const int status = SynchToMaster(context_.driver, settings_.Station_Type,
                                         static_cast<uint8_t>(settings_.Domain), masterChannel_,
                                         masterSubchannel_, name, address);
        relockPending_ = status != 0;
        driverLost_ = driverLost_ || status == kStatusChannelLost;
        ShowOutOfRange(true);
        return false;
    }
    ShowOutOfRange(false);
    relockPending_ = false;
    CardState& card = context_.driver.card;
    CopyText(card.masterAddress, now.address);
    CopyText(card.masterName, now.name);
    return true;
}

bool SiteSurveyDialog::FollowRoaming() {
    uint8_t roaming = 1;
    if (GetRoamingFlag(context_.driver, roaming) != 0 || roaming != 0) {
        return true;
    }
    MasterReading now;
    if (!ReadMaster(context_.driver, now, driverLost_)) {
        return false;
    }
    CardState& card = context_.driver.card;
    if (now.syncState != 0 && std::strcmp(now.address, card.masterAddress) != 0) {
        context_.shell.Beep(kRoamBeepHz, kRoamBeepMs);
        CopyText(card.masterAddress, now.address);
        CopyText(card.masterName, now.name);
        ClearRows();
        ResetSurvey();
    }
    return true;
}

void SiteSurveyDialog::EchoStep() {
    DialogHost& host = *Host();
    CollectReplies();
    uint32_t echoTime = 0;
    const int status = GetPingEcho(context_.driver, pingId_, echoTime);
    if (status == kStatusPending && echoChecks_ < kMaxEchoChecks) {
        ++echoChecks_;
        return;
    }
    // Still pending after every check, or a failed poll: the broadcast never completed.
    inRange_ = status == kStatusPending || status < 0 ? 0 : 1;
    driverLost_ = driverLost_ || status == kStatusChannelLost;
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
        const int status = GetPing(driver, address, bytes, signal);
        // A failed request carries no reply, whatever its status.
        if (status <= 0) {
            driverLost_ = driverLost_ || status == kStatusChannelLost;
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
    } else if (!enabled && roaming == 0) {
        SetRoamingFlag(driver, 1);
    } else {
        return;
    }
    host.CaptureWithWaitCursor();
    StopSurveyTimer();
    MasterReading master;
    bool lost = false;
    if (!ReadMaster(driver, master, lost)) {
        host.ReleaseWithArrowCursor();
        StartSurveyTimer();
        return;
    }
    masterChannel_ = master.channel;
    masterSubchannel_ = master.subchannel;
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
    if (canLock_ && !enabled) {
        char name[kMasterNameSize] = {};
        CopyText(name, master.name);
        const int status =
            SynchToMaster(driver, settings_.Station_Type, static_cast<uint8_t>(settings_.Domain),
                          masterChannel_, masterSubchannel_, name, master.address);
        relockPending_ = status != 0;
        if (relockPending_) {
            CopyText(lockedMasterName_, master.name);
            CopyText(lockedMasterAddress_, master.address);
        }
    }
    ClearRows();
    ResetSurvey();
    host.ReleaseWithArrowCursor();
}

void SiteSurveyDialog::TestLink(int row) {
    const std::string address = Host()->GetItemText(IDC_SURVEY_ADDRESS + row);
    StopSurveyTimer();
    RunDirectedLinkTest(context_, *Host(), address);
    StartSurveyTimer();
}

}  // namespace vz
