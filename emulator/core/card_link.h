// The card's link to a Master: acquisition after re-initialisation, domain search, locking onto
// a named Master, roaming, and acting as a Master itself.
#pragma once

#include <cstdint>
#include <string>

#include "emulator/core/scenario.h"

namespace vz {

enum class LinkMode : uint8_t {
    kAcquire,  // find the strongest Master of the card's domain (or be one)
    kSearch,   // report each Master of the searched domain in turn
    kLock,     // synchronise with one named Master, or never
};

const char* LinkModeName(LinkMode mode);

// Evaluated lazily: every request first brings the link up to the emulator's clock, so a
// virtual clock in tests and a real one in the server give the same behaviour.
class CardLink {
  public:
    CardLink(const Scenario& world, const CardConfig& config) : world_(world), config_(config) {}

    // Command 13: the configured station type becomes the active one; acquisition starts over.
    void Reinitialise(uint32_t now);
    // As a card that has long been running: synchronised at once when a Master is there.
    void StartWarm(uint32_t now);
    void StartSearch(uint8_t domain, uint32_t now);
    // Ends a search or a lock and goes back to acquisition; false when neither was running.
    bool StopSearch(uint32_t now);
    void Lock(uint8_t domain, const std::string& name, uint32_t now);
    // Parameter 19 set to 0 or parameter 20 written: synchronisation starts over.
    void ClearSync(uint32_t now);

    void Update(uint32_t now);

    bool Synced() const { return synced_; }
    bool SyncedToSelf() const { return synced_ && self_; }
    // The Master synchronised to; null when not synchronised or when the card is the Master.
    const MasterSpec* CurrentMaster() const;
    uint8_t ActiveStationType() const { return activeStationType_; }
    LinkMode Mode() const { return mode_; }
    uint8_t SearchDomain() const { return searchDomain_; }

  private:
    bool Audible(const MasterSpec& m) const;
    const MasterSpec* Strongest(uint8_t domain) const;
    const MasterSpec* Find(const MacAddress& address) const;
    const MasterSpec* LockTarget() const;
    void UpdateAcquire(uint32_t now);
    void UpdateSearch(uint32_t now);
    void UpdateLock(uint32_t now);
    void SyncTo(const MasterSpec& m);

    const Scenario& world_;
    const CardConfig& config_;
    LinkMode mode_ = LinkMode::kAcquire;
    uint8_t activeStationType_ = 0;
    uint32_t since_ = 0;         // start of the current attempt
    uint32_t acquireStart_ = 0;  // last re-initialisation
    uint8_t searchDomain_ = 0;
    uint8_t lockDomain_ = 0;
    std::string lockName_;
    bool synced_ = false;
    bool self_ = false;
    MacAddress master_{};
};

}  // namespace vz
