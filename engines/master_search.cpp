// The Master search: its steps through the domains, the Masters it lists, and the card's role
// around it.
#include "engines/master_search.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "driver/card_control.h"
#include "driver/card_text.h"
#include "driver/status_queries.h"

namespace vz {

namespace {

constexpr uint32_t kStepAtOnceMs = 2000;

// What the configured station type gives the card back at the end: Alternate Master and Master
// as they are; a stored value that is no role leaves it a Station, as the configuration shows it,
// rather than whatever role its low byte would name.
uint8_t ConfiguredRole(int stationType) {
    if (stationType == kStationTypeAlternateMaster || stationType == kStationTypeMaster) {
        return static_cast<uint8_t>(stationType);
    }
    return kStationTypeStation;
}

template <size_t N>
void CopyField(char (&field)[N], const std::string& text) {
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(text.size(), N - 1));
}

}  // namespace

bool IsDomain(int value) {
    return value >= 0 && value < MasterSearch::kDomainCount;
}

MasterSearch::MasterSearch(ProgramContext& context, int stationType, int domain, Mode mode)
    : context_(context),
      stationType_(stationType),
      mode_(mode),
      // A stored domain the card cannot have is searched as domain 0.
      currentDomain_(IsDomain(domain) ? domain : 0) {}

void MasterSearch::Begin() {
    Driver& driver = context_.driver;
    restartPending_ = false;
    // Before the first step the card is in its configured domain, and a Master it is synchronised
    // to is listed in that domain.
    searchedDomain_ = currentDomain_;
    steps_ = 0;
    lastStep_ = context_.clock.NowMs() - kStepAtOnceMs;
    ClearMasterAddr(driver);
    if (stationType_ != kStationTypeStation) {
        SetStationType(driver, kStationTypeStation);
        uint8_t syncState = 0;
        InitCard(driver, syncState, 0, 0);
    }
}

MasterSearch::Tick MasterSearch::Step() {
    Driver& driver = context_.driver;
    Tick tick;
    if (restartPending_) {
        if (OpenDriver(driver) != Status::kOk || RestartDriver(driver) != Status::kOk) {
            return tick;
        }
        restartPending_ = false;
        searchedDomain_ = kNoSearch;
    }

    MasterReading heard;
    const Status status = GetMasterNode(driver, heard);
    if (status == Status::kChannelLost) {
        restartPending_ = true;
        return tick;
    }
    if (searchedDomain_ != kNoSearch && heard.syncState != 0 && status == Status::kOk &&
        heard.nodeAddress[0] != '\0') {
        tick.listed = List(MasterRecord{FieldText(heard.address), FieldText(heard.name),
                                        searchedDomain_, heard.channel, heard.subchannel});
    }

    if (context_.clock.NowMs() - lastStep_ >= kDomainStepMs) {
        StepDomain();
        tick.stepped = true;
    }
    return tick;
}

const MasterRecord* MasterSearch::List(const MasterRecord& heard) {
    // A report whose Master address is all zeros names no Master: the card clears the address
    // at every domain step. Channels are listed as they came, whatever their range.
    if (heard.address.find_first_not_of('0') == std::string::npos) {
        return nullptr;
    }
    const bool listed = std::any_of(masters_.begin(), masters_.end(), [&](const auto& master) {
        return master->address == heard.address;
    });
    if (listed || masters_.size() >= kMaxMasters) {
        return nullptr;
    }
    masters_.push_back(std::make_unique<MasterRecord>(heard));
    return masters_.back().get();
}

void MasterSearch::StepDomain() {
    Driver& driver = context_.driver;
    Pause();
    ClearMasterAddr(driver);
    if (mode_ == Mode::kAll) {
        currentDomain_ = (currentDomain_ + 1) % kDomainCount;
    }
    if (StartMasterSearch(driver, static_cast<uint8_t>(currentDomain_)) == Status::kChannelLost) {
        restartPending_ = true;
    }
    searchedDomain_ = currentDomain_;
    lastStep_ = context_.clock.NowMs();
    ++steps_;
}

void MasterSearch::Pause() {
    Clock& clock = context_.clock;
    const uint32_t began = clock.NowMs();
    const Status stopped = StopSearch(context_.driver);
    // The card needs the pause to leave the search; nothing else runs meanwhile, and sleeping
    // instead of spinning leaves the processor to the other programs.
    for (uint32_t waited = clock.NowMs() - began; waited < kSearchPauseMs;
         waited = clock.NowMs() - began) {
        clock.SleepMs(kSearchPauseMs - waited);
    }
    if (!StopSearchSettled(stopped)) {
        StopSearch(context_.driver);
    }
}

Status MasterSearch::SynchTo(const MasterRecord& master) {
    MasterReading wanted;
    CopyField(wanted.name, master.name);
    CopyField(wanted.address, master.address);
    wanted.channel = static_cast<uint8_t>(master.channel);
    wanted.subchannel = static_cast<uint8_t>(master.subchannel);
    const Status status =
        SynchToMaster(context_.driver, stationType_, static_cast<uint8_t>(master.domain), wanted);
    if (status != Status::kOk) {
        AdoptMaster(context_.driver.card, wanted);
    }
    return status;
}

void MasterSearch::End() {
    if (stationType_ != kStationTypeStation) {
        SetStationType(context_.driver, ConfiguredRole(stationType_));
    }
}

void MasterSearch::SearchDomain(int domain) {
    if (IsDomain(domain)) {
        currentDomain_ = domain;
    }
}

bool MasterSearch::Owns(const MasterRecord* record) const {
    return std::any_of(masters_.begin(), masters_.end(),
                       [&](const auto& master) { return master.get() == record; });
}

}  // namespace vz
