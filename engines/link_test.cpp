// The directed link test: its measuring loop, the recovery of a failing card, and its figures.
#include "engines/link_test.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <utility>

#include "driver/card_control.h"
#include "driver/card_text.h"
#include "driver/ping.h"
#include "driver/roaming_follow.h"
#include "settings/adapter_settings.h"

namespace vz {

namespace {

constexpr uint32_t kSlotMs = 500;
constexpr uint32_t kEchoGiveUpSeconds = 5;
constexpr int kMaxFailures = 10;
constexpr int kDonePolls = 101;
// A driver that never stops offering pings must not hold the loop.
constexpr int kMaxPingsPerDrain = 1000;

// An echo of the test: counted, and its latency's change from the one before it summed.
void CountEcho(LinkTotals& totals, int64_t& lastLatency, int64_t latency) {
    ++totals.echoes;
    if (latency < 0) {
        return;
    }
    if (lastLatency >= 0) {
        ++totals.latencyChanges;
        totals.latencyChangeSumMs += std::llabs(latency - lastLatency);
    }
    lastLatency = latency;
}

}  // namespace

LinkTest::LinkTest(ProgramContext& context, std::string target, int packetSize, LinkView& view)
    : context_(context), target_(std::move(target)), packetSize_(packetSize), view_(view) {
    target_.resize(std::min(target_.size(), kNodeAddressTextSize - 1));
}

void LinkTest::Begin() {
    const CardState& card = context_.driver.card;
    targetIsMaster_ = card.masterAddress[0] != '\0' && target_ == card.masterAddress;
    CopyText(knownMaster_, card.masterAddress);
    maximumLatency_ = 0;
    failures_ = 0;
    slotStart_ = context_.clock.NowMs();
    slots_.StartSlot(0);
    driverLost_ = false;
    pingOutstanding_ = false;
    testStart_ = context_.clock.NowMs();
}

void LinkTest::Tick() {
    Driver& driver = context_.driver;
    if (driverLost_) {
        view_.ShowOutOfRange(true);
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

LinkTest::LoopEnd LinkTest::Measure() {
    Driver& driver = context_.driver;
    slotStart_ = context_.clock.NowMs();
    while (context_.clock.NowMs() - slotStart_ < kSlotMs) {
        if (GetSyncState(driver, inRange_) == Status::kChannelLost) {
            driverLost_ = true;
            return LoopEnd::kFailure;
        }
        if (inRange_ == 0) {
            view_.ShowOutOfRange(true);
            return LoopEnd::kStatistics;
        }
        if (!pingOutstanding_) {
            const Status status = SendPing(driver, target_.c_str(), uint32_t(packetSize_),
                                           kPingKindDirected, inRange_, transmitTime_, pingId_);
            if (PingOnItsWay(status, kPingKindDirected)) {
                pingOutstanding_ = true;
                ++totals_.pingsSent;
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

LinkTest::LoopEnd LinkTest::WaitForEcho() {
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

void LinkTest::RecordEcho(int64_t latency) {
    Driver& driver = context_.driver;
    for (int taken = 0; taken < kMaxPingsPerDrain; ++taken) {
        char address[kNodeAddressTextSize] = "";
        uint32_t bytes = 0;
        uint8_t signal = 0;
        if (GetPing(driver, address, bytes, signal) != Status::kPingTaken) {
            break;
        }
        if (target_ == address) {
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
        view_.ShowOutOfRange(true);
        return;
    }
    view_.ShowOutOfRange(false);
    slots_.AddEcho(latency, packetSize_);
    CountEcho(totals_, lastLatency_, latency);
    maximumLatency_ = std::max(maximumLatency_, latency);
    view_.ShowMaximumLatency(maximumLatency_);
}

void LinkTest::FollowMaster(const MasterReading& master) {
    CopyText(knownMaster_, master.address);
    if (targetIsMaster_) {
        target_ = master.address;
        view_.ShowTargetFollowed(master.address, master.name);
    }
}

// The Master and the card's own address, read into the card state as the recovery reads them.
Status LinkTest::ReadMaster(MasterReading& reading) {
    const Status status = GetMasterNode(context_.driver, reading);
    inRange_ = reading.syncState;
    if (status == Status::kOk) {
        CopyText(context_.driver.card.nodeAddress, reading.nodeAddress);
    }
    return status;
}

void LinkTest::Recover() {
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

void LinkTest::Statistics() {
    LinkPass pass;
    pass.figures = slots_.Compute();
    averages_.BeginPass();
    pass.seconds = (context_.clock.NowMs() - testStart_) / 1000;
    if (pass.figures.hasPackets) {
        pass.averagePackets =
            averages_.Add(RunningAverages::kPackets, pass.figures.packetsPerSecond);
    }
    if (pass.figures.hasBytes) {
        pass.averageBytes = averages_.Add(RunningAverages::kBytes, pass.figures.bytesPerSecond);
    }
    if (pass.figures.hasLatency) {
        pass.averageLatency = averages_.Add(RunningAverages::kLatency, pass.figures.latency);
    }
    view_.ShowPass(pass);
}

void LinkTest::Advance(LoopEnd end) {
    pingId_ = 0;
    // A failure restarts the ring at slot 0 without clearing the other slots.
    const int next = end == LoopEnd::kFailure ? 0 : (slots_.CurrentSlot() + 1) % kLinkSlots;
    slots_.StartSlot(next);
    slotStart_ = context_.clock.NowMs();
}

void LinkTest::Done() {
    if (pingOutstanding_) {
        uint32_t echoTime = 0;
        for (int poll = 0; poll < kDonePolls; ++poll) {
            if (GetPingEcho(context_.driver, pingId_, echoTime) == Status::kOk) {
                break;
            }
        }
    }
    pingOutstanding_ = false;
}

}  // namespace vz
