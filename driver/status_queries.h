// Reading the card's state: its Master, sync state, roaming flag and versions.
#pragma once

#include <cstdint>

#include "driver/card_state.h"
#include "driver/driver.h"

namespace vz {

// What the card says of its Master and itself, from one parameter list.
struct MasterReading {
    char address[kNodeAddressTextSize] = "";  // the Master's node address text
    char name[kMasterNameSize] = "";
    uint8_t channel = 0;
    uint8_t subchannel = 0;
    char nodeAddress[kNodeAddressTextSize] = "";  // the card's own
    uint8_t syncState = 0;                        // non-zero: synchronised to that Master
};

// Reads all six values of `reading` in one request. The two address texts are written only when
// every value arrived; values taken before a missing one stay, the name terminated.
// Returns: kOk; the request's failure status; kFailed when a value is missing from the reply.
Status GetMasterNode(Driver& driver, MasterReading& reading, uint32_t cardIndex = 0);
// Copies the Master of a reading into CardState, as the dialogs show it.
void AdoptMaster(CardState& card, const MasterReading& reading);

// Returns: kOk; the request's failure status; kFailed when the value is missing from the reply.
Status GetSyncState(Driver& driver, uint8_t& syncState, uint32_t cardIndex = 0);
// The roaming flag: 0 roaming, 1 held on its Master.
// Returns: kOk; the request's failure status; kFailed when the value is missing from the reply.
Status GetRoamingFlag(Driver& driver, uint8_t& flag, uint32_t cardIndex = 0);
// Reads the card's 7-byte ROM version text into the first seven bytes of `version`.
// Returns: kOk; the request's failure status; kFailed when the value is missing from the reply.
Status GetVersion(Driver& driver, char (&version)[32], uint32_t cardIndex = 0);
// Command 2 into `version`, always left NUL-terminated.
// Returns: the driver's status for command 2.
Status GetDriverVersion(Driver& driver, char (&version)[32]);

}  // namespace vz
