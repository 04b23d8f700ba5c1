// Reading the card's state: its Master, sync state, roaming flag and versions.
#pragma once

#include <cstdint>

#include "driver/card_state.h"
#include "driver/driver.h"

namespace vz {

// Fills all six outputs from one parameter list; the two address texts and the name's NUL are
// written only when every value arrived. Returns the request's status, or -1 for a missing value.
int GetMasterNode(Driver& driver, char (&masterAddress)[kNodeAddressTextSize],
                  char (&masterName)[kMasterNameSize], uint8_t& channel, uint8_t& subchannel,
                  char (&nodeAddress)[kNodeAddressTextSize], uint8_t& syncState,
                  uint32_t cardIndex = 0);
int GetSyncState(Driver& driver, uint8_t& syncState, uint32_t cardIndex = 0);
int GetRoamingFlag(Driver& driver, uint8_t& flag, uint32_t cardIndex = 0);
// Reads the card's 7-byte ROM version text into the first seven bytes of `version`.
int GetVersion(Driver& driver, char (&version)[32], uint32_t cardIndex = 0);
// Command 2 into the driver version text of CardState, always left NUL-terminated.
int GetDriverVersion(Driver& driver, char (&version)[32]);

}  // namespace vz
