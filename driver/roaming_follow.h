// The roaming-follow rule: a roaming card that moved to another Master is followed, with a beep.
#pragma once

#include "driver/driver.h"
#include "driver/status_queries.h"

namespace vz {

enum class Roaming {
    kOff,         // the flag is unreadable or the card is held on its Master: nothing was read
    kUnread,      // roaming, but GetMasterNode failed
    kSameMaster,  // roaming, still on (or not synchronised away from) the known Master
    kNewMaster,   // roaming, synchronised to another Master: the roaming beep has sounded
};

constexpr uint32_t kRoamBeepHz = 1000;
constexpr uint32_t kRoamBeepMs = 500;

// With roaming on (flag 0), reads the card's Master into `now` and compares it with
// `knownAddress`; the caller adopts a new Master its own way.
// Returns: the case above; `status` holds GetMasterNode's status when it was read.
Roaming CheckRoaming(Driver& driver, const char* knownAddress, MasterReading& now, Status& status);

}  // namespace vz
