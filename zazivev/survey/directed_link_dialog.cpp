// The directed link test's window, its measuring loop and its figures.
#include "zazivev/survey/directed_link_dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "driver/card_control.h"
#include "driver/card_text.h"
#include "driver/ping.h"
#include "driver/roaming_follow.h"
#include "driver/status_queries.h"
#include "settings/adapter_settings.h"
#include "ui/codes.h"
#include "ui/dialog_host.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/help_dialog.h"
#include "zazivev/texts.h"

namespace vz {

namespace {

constexpr uint32_t kTimerPeriodMs = 100;
constexpr uint32_t kSlotMs = 500;
constexpr uint32_t kEchoGiveUpSeconds = 5;
constexpr int kMaxFailures = 10;
constexpr int kDonePolls = 101;
constexpr int kMinPacketSize = 60;
constexpr int kMaxPacketSize = 1500;
constexpr int kTickSpacing = 10;
// A driver that never stops offering pings must not hold the loop.
constexpr int kMaxPingsPerDrain = 1000;

template <size_t N>
void CopyText(char (&to)[N], const char* from) {
    std::snprintf(to, N, "%s", from);
}

}  // namespace

DirectedLinkDialog::DirectedLinkDialog(ToolContext& context, std::string targetAddress,
                                       int packetSize)
    : Dialog(IDD_DIRECTED_LINK),
      context_(context),
      targetAddress_(std::move(targetAddress)),
      packetSize_(packetSize) {
    targetAddress_.resize(std::min(targetAddress_.size(), kNodeAddressTextSize - 1));
}

int DirectedLinkDialog::PacketSize() const {
    return packetSize_;
}

bool DirectedLinkDialog::OnInitDialog() {
    DialogHost& host = *Host();
    const CardState& card = context_.driver.card;
    host.SetTimer(kMeasureTimer, kTimerPeriodMs);
    targetIsMaster_ = card.masterAddress[0] != '\0' && targetAddress_ == card.masterAddress;
    if (targetIsMaster_) {
        host.SetItemText(IDC_LINK_MASTER_LABEL, texts::kLinkMasterLabel);
        host.SetItemText(IDC_LINK_MASTER_NAME, card.masterName);
    }
    CopyText(knownMaster_, card.masterAddress);
    host.ProgressSetRange(IDC_LINK_SIGNAL_BAR, 0, 100);
    host.ProgressSetPos(IDC_LINK_SIGNAL_BAR, 0);
    host.SetItemText(IDC_LINK_ADDRESS, targetAddress_);
    for (int id : {IDC_LINK_PACKETS, IDC_LINK_BYTES, IDC_LINK_SIGNAL}) {
        host.SetItemText(id, "");
    }
    for (int id : {IDC_LINK_LATENCY, IDC_LINK_MAXIMUM, IDC_LINK_DEVIATION}) {
        host.SetItemText(id, "0");
    }
    maximumLatency_ = 0;
    host.TrackBarSetRange(IDC_LINK_PACKET_SLIDER, kMinPacketSize, kMaxPacketSize);
    for (int tick = kMinPacketSize + kTickSpacing; tick < kMaxPacketSize; tick += kTickSpacing) {
        host.TrackBarSetTick(IDC_LINK_PACKET_SLIDER, tick);
    }
    host.TrackBarSetPos(IDC_LINK_PACKET_SLIDER, packetSize_);
    host.SetItemText(IDC_LINK_PACKET_SIZE,
                     std::to_string(host.TrackBarGetPos(IDC_LINK_PACKET_SLIDER)));
    failures_ = 0;
    slotStart_ = context_.clock.NowMs();
    slots_.StartSlot(0);
    driverLost_ = false;
    pingOutstanding_ = false;
    testStart_ = context_.clock.NowMs();
    return true;
}

void DirectedLinkDialog::OnCommand(int id, int code) {
    switch (id) {
        case kIdOk:
            Done();
            return;
        case IDC_HELP_COMMAND:
            ShowHelp(context_, *Host(), HelpSectionForContext(kHelpContextDirectedLink));
            return;
        default:
            Dialog::OnCommand(id, code);
            return;
    }
}

void DirectedLinkDialog::OnHScroll(int id, int request, int pos) {
    if (id != IDC_LINK_PACKET_SLIDER) {
        return;
    }
    packetSize_ = Host()->TrackBarGetPos(IDC_LINK_PACKET_SLIDER);
    Host()->SetItemText(IDC_LINK_PACKET_SIZE, std::to_string(packetSize_));
}

void DirectedLinkDialog::OnDestroy() {
    Host()->KillTimer(kMeasureTimer);
}

void DirectedLinkDialog::ShowOutOfRange(bool show) {
    Host()->ShowItem(IDC_LINK_OUT_OF_RANGE, show);
}

void DirectedLinkDialog::OnTimer(uint32_t id) {
    if (id != kMeasureTimer) {
        return;
    }
    Host()->KillTimer(kMeasureTimer);
    Tick();
    Host()->SetTimer(kMeasureTimer, kTimerPeriodMs);
}

void DirectedLinkDialog::Tick() {
    Driver& driver = context_.driver;
    if (driverLost_) {
        ShowOutOfRange(true);
        if (OpenDriver(driver) != Status::kOk || RestartDriver(driver) != Status::kOk) {
            return;
        }
        driverLost_ = false;
    }
    const LoopEnd end = Measure();
    if (end == LoopEnd::kStatistics) {
        Statistics();
    }
    Advance(end);
}

DirectedLinkDialog::LoopEnd DirectedLinkDialog::Measure() {
    Driver& driver = context_.driver;
    slotStart_ = context_.clock.NowMs();
    while (context_.clock.NowMs() - slotStart_ < kSlotMs) {
        if (GetSyncState(driver, inRange_) == Status::kChannelLost) {
            driverLost_ = true;
            return LoopEnd::kFailure;
        }
        if (inRange_ == 0) {
            ShowOutOfRange(true);
            return LoopEnd::kStatistics;
        }
        if (!pingOutstanding_) {
            const Status status = SendPing(driver, targetAddress_.c_str(), uint32_t(packetSize_),
                                           kPingKindDirected, inRange_, transmitTime_, pingId_);
            if (PingOnItsWay(status, kPingKindDirected)) {
                pingOutstanding_ = true;
            } else if (status == Status::kChannelLost) {
                driverLost_ = true;
                return LoopEnd::kFailure;
            } else {
                if (++failures_ > kMaxFailures) {
                    CloseCard(driver);
                    CloseDriver(driver);
                    InitCard(driver, inRange_, 0, kInitCardLongerWait);
                    failures_ = 0;
                }
                return LoopEnd::kFailure;
            }
        }
        if (WaitForEcho() == LoopEnd::kFailure) {
            return LoopEnd::kFailure;
        }
    }
    return LoopEnd::kStatistics;
}

DirectedLinkDialog::LoopEnd DirectedLinkDialog::WaitForEcho() {
    Driver& driver = context_.driver;
    const uint32_t waitStart = context_.clock.NowMs();
    for (;;) {
        uint32_t echoTime = 0;
        const Status status = GetPingEcho(driver, pingId_, echoTime);
        if (status == Status::kOk) {
            pingOutstanding_ = false;
            RecordEcho(static_cast<int32_t>(echoTime - transmitTime_));
            failures_ = 0;
            return LoopEnd::kStatistics;
        }
        if (status == Status::kNoEcho || StatusCode(status) < 0) {
            if (status == Status::kChannelLost) {
                driverLost_ = true;
                return LoopEnd::kFailure;
            }
            // "No echo" settles the ping for good: asking again would only repeat it, so the
            // next round sends a new one.
            if (status == Status::kNoEcho) {
                pingOutstanding_ = false;
            }
            if (++failures_ <= kMaxFailures) {
                return LoopEnd::kStatistics;
            }
            Recover();
            return LoopEnd::kFailure;
        }
        if ((context_.clock.NowMs() - waitStart) / 1000 > kEchoGiveUpSeconds) {
            pingOutstanding_ = false;
            return LoopEnd::kStatistics;
        }
        context_.clock.YieldTimeSlice();
    }
}

void DirectedLinkDialog::RecordEcho(int64_t latency) {
    DialogHost& host = *Host();
    Driver& driver = context_.driver;
    for (int taken = 0; taken < kMaxPingsPerDrain; ++taken) {
        char address[kNodeAddressTextSize] = "";
        uint32_t bytes = 0;
        uint8_t signal = 0;
        if (GetPing(driver, address, bytes, signal) != Status::kPingTaken) {
            break;
        }
        if (targetAddress_ == address) {
            slots_.AddPing(signal, bytes);
        }
    }
    MasterReading now;
    Status masterStatus = Status::kOk;
    const Roaming roaming = CheckRoaming(driver, knownMaster_, now, masterStatus);
    if (roaming != Roaming::kOff) {
        inRange_ = now.syncState;
        if (masterStatus == Status::kOk) {
            CopyText(driver.card.nodeAddress, now.nodeAddress);
        }
    }
    if (roaming == Roaming::kNewMaster) {
        FollowMaster(now);
    }
    if (inRange_ == 0 || masterStatus != Status::kOk || driver.card.nodeAddress[0] == '\0') {
        ShowOutOfRange(true);
        return;
    }
    ShowOutOfRange(false);
    slots_.AddEcho(latency, packetSize_);
    maximumLatency_ = std::max(maximumLatency_, latency);
    host.SetItemText(IDC_LINK_MAXIMUM, std::to_string(maximumLatency_));
}

void DirectedLinkDialog::FollowMaster(const MasterReading& master) {
    CopyText(knownMaster_, master.address);
    if (targetIsMaster_) {
        targetAddress_ = master.address;
        Host()->SetItemText(IDC_LINK_ADDRESS, targetAddress_);
        Host()->SetItemText(IDC_LINK_MASTER_NAME, master.name);
    }
}

// The Master and the card's own address, read into the card state as the recovery reads them.
Status DirectedLinkDialog::ReadMaster(MasterReading& reading) {
    const Status status = GetMasterNode(context_.driver, reading);
    inRange_ = reading.syncState;
    if (status == Status::kOk) {
        CopyText(context_.driver.card.nodeAddress, reading.nodeAddress);
    }
    return status;
}

void DirectedLinkDialog::Recover() {
    Driver& driver = context_.driver;
    MasterReading before;
    const Status read = ReadMaster(before);
    CloseCard(driver);
    CloseDriver(driver);
    OpenDriver(driver);
    if (read == Status::kOk && before.name[0] != '\0') {
        // The card goes back to the Master it had, in the domain it is configured for.
        AdapterSettings configured(context_.registry, context_.version);
        configured.Load();
        SynchToMaster(driver, 0, static_cast<uint8_t>(configured.Domain), before);
    }
    InitCard(driver, inRange_, 0, kInitCardLongerWait);
    MasterReading after;
    if (ReadMaster(after) == Status::kOk && inRange_ != 0 &&
        std::strcmp(after.address, knownMaster_) != 0) {
        FollowMaster(after);
    }
    failures_ = 0;
}

void DirectedLinkDialog::Statistics() {
    DialogHost& host = *Host();
    const LinkFigures figures = slots_.Compute();
    averages_.BeginPass();
    host.SetItemText(IDC_LINK_SECONDS,
                     std::to_string((context_.clock.NowMs() - testStart_) / 1000));
    if (figures.hasPackets) {
        const int64_t average = averages_.Add(RunningAverages::kPackets, figures.packetsPerSecond);
        host.SetItemText(IDC_LINK_AVERAGE_PACKETS, std::to_string(average));
        host.SetItemText(IDC_LINK_PACKETS, std::to_string(figures.packetsPerSecond));
    }
    if (figures.hasBytes) {
        const int64_t average = averages_.Add(RunningAverages::kBytes, figures.bytesPerSecond);
        host.SetItemText(IDC_LINK_AVERAGE_BYTES, std::to_string(average));
        host.SetItemText(IDC_LINK_BYTES, std::to_string(figures.bytesPerSecond));
    }
    if (figures.hasLatency) {
        const int64_t average = averages_.Add(RunningAverages::kLatency, figures.latency);
        host.SetItemText(IDC_LINK_AVERAGE_LATENCY, std::to_string(average));
        host.SetItemText(IDC_LINK_LATENCY, std::to_string(figures.latency));
        host.SetItemText(IDC_LINK_DEVIATION, FormatText(texts::kLinkDeviation, figures.deviation));
    }
    host.ProgressSetPos(IDC_LINK_SIGNAL_BAR, figures.signalPercent);
    host.SetItemText(IDC_LINK_SIGNAL, FormatText(texts::kSignalPercent, figures.signalPercent));
}

void DirectedLinkDialog::Advance(LoopEnd end) {
    pingId_ = 0;
    // A failure restarts the ring at slot 0 without clearing the other slots.
    const int next = end == LoopEnd::kFailure ? 0 : (slots_.CurrentSlot() + 1) % kLinkSlots;
    slots_.StartSlot(next);
    slotStart_ = context_.clock.NowMs();
}

void DirectedLinkDialog::Done() {
    if (pingOutstanding_) {
        uint32_t echoTime = 0;
        for (int poll = 0; poll < kDonePolls; ++poll) {
            if (GetPingEcho(context_.driver, pingId_, echoTime) == Status::kOk) {
                break;
            }
        }
    }
    pingOutstanding_ = false;
    Host()->EndDialog(kIdOk);
}

void RunDirectedLinkTest(ToolContext& context, DialogHost& host, std::string address) {
    DirectedLinkDialog dialog(context, std::move(address), context.rememberedPacketSize);
    {
        ScopedHelpContext place(context.helpContext, kHelpContextDirectedLink);
        host.RunModal(dialog);
    }
    context.rememberedPacketSize = dialog.PacketSize();
}

}  // namespace vz
