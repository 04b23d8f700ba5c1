// Synchronisation, search, lock and roaming of the emulated card.
#include "emulator/core/card_link.h"

#include <algorithm>
#include <vector>

namespace vz {

namespace {

// Roaming moves to another Master only when it is clearly stronger, so two Masters of nearly
// equal level do not make the card flap between them.
constexpr double kRoamHysteresisDb = 3.0;

int32_t Elapsed(uint32_t now, uint32_t since) {
    return int32_t(now - since);
}

}  // namespace

const char* LinkModeName(LinkMode mode) {
    switch (mode) {
        case LinkMode::kAcquire:
            return "acquire";
        case LinkMode::kSearch:
            return "search";
        case LinkMode::kLock:
            return "lock";
    }
    return "?";
}

void CardLink::Reinitialise(uint32_t now) {
    activeStationType_ = config_.stationType;
    mode_ = LinkMode::kAcquire;
    synced_ = false;
    self_ = false;
    since_ = now;
    acquireStart_ = now;
}

void CardLink::StartWarm(uint32_t now) {
    Reinitialise(now - world_.timing.syncMs);
    Update(now);
}

void CardLink::StartSearch(uint8_t domain, uint32_t now) {
    mode_ = LinkMode::kSearch;
    searchDomain_ = domain;
    synced_ = false;
    self_ = false;
    since_ = now;
}

bool CardLink::StopSearch(uint32_t now) {
    if (mode_ == LinkMode::kAcquire) {
        return false;
    }
    mode_ = LinkMode::kAcquire;
    synced_ = false;
    self_ = false;
    since_ = now;
    acquireStart_ = now;
    return true;
}

void CardLink::Lock(uint8_t domain, const std::string& name, uint32_t now) {
    mode_ = LinkMode::kLock;
    lockDomain_ = domain;
    lockName_ = name;
    synced_ = false;
    self_ = false;
    since_ = now;
}

void CardLink::ClearSync(uint32_t now) {
    synced_ = false;
    self_ = false;
    since_ = now;
    if (mode_ == LinkMode::kAcquire) {
        acquireStart_ = now;
    }
}

const MasterSpec* CardLink::CurrentMaster() const {
    if (!synced_ || self_) {
        return nullptr;
    }
    return Find(master_);
}

bool CardLink::Audible(const MasterSpec& m) const {
    return !m.silent && m.signalDbm >= world_.card.sensitivityDbm &&
           m.securityId == config_.securityId;
}

const MasterSpec* CardLink::Find(const MacAddress& address) const {
    for (const MasterSpec& m : world_.masters) {
        if (m.address == address) {
            return &m;
        }
    }
    return nullptr;
}

const MasterSpec* CardLink::Strongest(uint8_t domain) const {
    const MasterSpec* best = nullptr;
    for (const MasterSpec& m : world_.masters) {
        if (m.domain != domain || !Audible(m)) {
            continue;
        }
        if (!best || m.signalDbm > best->signalDbm) {
            best = &m;
        }
    }
    return best;
}

const MasterSpec* CardLink::LockTarget() const {
    if (lockName_.empty()) {
        return Strongest(lockDomain_);
    }
    for (const MasterSpec& m : world_.masters) {
        if (m.domain == lockDomain_ && m.name == lockName_ && Audible(m)) {
            return &m;
        }
    }
    return nullptr;
}

void CardLink::SyncTo(const MasterSpec& m) {
    synced_ = true;
    self_ = false;
    master_ = m.address;
}

void CardLink::Update(uint32_t now) {
    switch (mode_) {
        case LinkMode::kAcquire:
            UpdateAcquire(now);
            break;
        case LinkMode::kSearch:
            UpdateSearch(now);
            break;
        case LinkMode::kLock:
            UpdateLock(now);
            break;
    }
}

void CardLink::UpdateAcquire(uint32_t now) {
    const int32_t syncMs = int32_t(world_.timing.syncMs);
    if (activeStationType_ == 2) {
        // A Master opens its own cell once its radio is up.
        if (!synced_ && Elapsed(now, since_) >= syncMs) {
            synced_ = true;
            self_ = true;
        }
        return;
    }
    if (synced_ && self_) {
        return;  // an Alternate Master that took over keeps its cell
    }
    if (synced_) {
        const MasterSpec* current = Find(master_);
        if (!current || !Audible(*current) || current->domain != config_.domain) {
            synced_ = false;
            since_ = now;
            return;
        }
        if (config_.roamingFlag == 0) {
            const MasterSpec* best = Strongest(config_.domain);
            if (best && best != current &&
                best->signalDbm > current->signalDbm + kRoamHysteresisDb) {
                SyncTo(*best);
            }
        }
        return;
    }
    const MasterSpec* best = Strongest(config_.domain);
    if (best) {
        if (Elapsed(now, since_) >= syncMs) {
            SyncTo(*best);
        }
        return;
    }
    if (activeStationType_ == 1 && Elapsed(now, acquireStart_) >= syncMs) {
        // No Master answered: the Alternate Master takes the role itself.
        synced_ = true;
        self_ = true;
        return;
    }
    since_ = now;  // the wait for a Master starts when one can be heard
}

void CardLink::UpdateSearch(uint32_t now) {
    std::vector<const MasterSpec*> heard;
    for (const MasterSpec& m : world_.masters) {
        if (m.domain == searchDomain_ && Audible(m)) {
            heard.push_back(&m);
        }
    }
    std::sort(heard.begin(), heard.end(),
              [](const MasterSpec* a, const MasterSpec* b) { return a->address < b->address; });
    const int32_t elapsed = Elapsed(now, since_);
    const uint32_t step = elapsed < 0 ? 0 : uint32_t(elapsed) / world_.timing.dwellMs;
    if (heard.empty() || step == 0) {
        synced_ = false;
        return;
    }
    SyncTo(*heard[(step - 1) % heard.size()]);
}

void CardLink::UpdateLock(uint32_t now) {
    const MasterSpec* target = LockTarget();
    if (!target) {
        synced_ = false;
        since_ = now;
        return;
    }
    if (synced_ && master_ == target->address) {
        return;
    }
    synced_ = false;
    if (Elapsed(now, since_) >= int32_t(world_.timing.lockMs)) {
        SyncTo(*target);
    }
}

}  // namespace vz
