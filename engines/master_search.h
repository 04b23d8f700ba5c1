// The Master search: the card listening to one network domain after another (or to one), and
// the list of every Master it heard, each filed under the domain searched when first heard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "driver/status.h"
#include "engines/master_record.h"
#include "program/program_context.h"

namespace vz {

class MasterSearch {
  public:
    enum class Mode { kAll, kOne };
    static constexpr int kDomainCount = 16;
    // Each domain is listened to this long between steps; a step pauses the card this long.
    static constexpr uint32_t kDomainStepMs = 1500;
    static constexpr uint32_t kSearchPauseMs = 500;
    // A driver reporting a new address on every tick for hours cannot grow the list past this.
    static constexpr size_t kMaxMasters = 1024;

    // What one tick did: the Master it listed (null: none new) and whether the domain stepped.
    struct Tick {
        const MasterRecord* listed = nullptr;
        bool stepped = false;
    };

    // `stationType` and `domain`: the card's configured role and domain.
    MasterSearch(ProgramContext& context, int stationType, int domain, Mode mode);

    // Readies the card: its Master address cleared and, unless it is a Station, the card made
    // one for the search and initialised again. The first step is due at once.
    void Begin();
    // Reopens a lost channel, lists the Master the card hears, and steps the domain when due.
    Tick Step();
    // Stops the card's search and waits the pause the card needs to leave it.
    void Pause();
    // Moves the card onto `master`; a failure names that Master in the card state.
    // Returns: kOk, kNoSync when the card never synchronised, else the failing request's status.
    Status SynchTo(const MasterRecord& master);
    // Gives the card its configured role back.
    void End();

    void SetMode(Mode mode) { mode_ = mode; }
    Mode CurrentMode() const { return mode_; }
    // The domain searched from the next step on; a value outside 0..15 is ignored.
    void SearchDomain(int domain);
    int CurrentDomain() const { return currentDomain_; }
    // Domain steps taken since Begin.
    int Steps() const { return steps_; }

    size_t Count() const { return masters_.size(); }
    const MasterRecord& At(size_t index) const { return *masters_[index]; }
    // Whether `record` is one of this search's own records (they live as long as the search).
    bool Owns(const MasterRecord* record) const;

  private:
    const MasterRecord* List(const MasterRecord& heard);
    void StepDomain();

    ProgramContext& context_;
    int stationType_;
    Mode mode_;
    int currentDomain_;
    uint32_t lastStep_ = 0;
    int steps_ = 0;
    bool restartPending_ = false;
    // The domain the card searches now, which rows are filed under: a domain picked meanwhile is
    // searched from the next step on. kNoSearch after a driver restart, until the next step: the
    // card then reports its own Master, found in no domain searched.
    static constexpr int kNoSearch = -1;
    int searchedDomain_ = kNoSearch;
    std::vector<std::unique_ptr<MasterRecord>> masters_;
};

bool IsDomain(int value);

}  // namespace vz
