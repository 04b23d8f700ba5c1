// Operations that change what the card does: settings, re-initialisation, Master search.
#pragma once

#include <cstdint>

#include "driver/card_state.h"
#include "driver/driver.h"
#include "driver/status_queries.h"

namespace vz {

constexpr uint8_t kStationTypeStation = 0;
constexpr uint8_t kStationTypeAlternateMaster = 1;
constexpr uint8_t kStationTypeMaster = 2;

// How long SynchToMaster waits, once the card reports synchronisation, for it to name the
// wanted Master.
constexpr uint32_t kSynchConfirmSeconds = 2;
constexpr int kSynchMaxSyncPolls = 10000;

// The value of a text's leading decimal digits (0 when it has none), as the card fields take it.
uint32_t LeadingDecimal(const char* text);

// Every setter below sends one parameter list with SetDriverData and reports a failure.
// Returns: kOk; the driver's failure status.
Status ClearSyncState(Driver& driver, uint32_t cardIndex = 0);
Status ClearMasterAddr(Driver& driver, uint32_t cardIndex = 0);
Status SetDomain(Driver& driver, const char* domainText, uint32_t cardIndex = 0);
Status SetStationType(Driver& driver, uint8_t stationType, uint32_t cardIndex = 0);
Status SetRoamingFlag(Driver& driver, uint8_t flag, uint32_t cardIndex = 0);
Status SetInactivityTimer(Driver& driver, uint16_t value, uint32_t cardIndex = 0);

struct CardOptions {
    bool masterSettings = false;  // the configured station type is not Station
    const char* masterName = "";
    const char* stationType = "Station";
    const char* channel = "1";
    const char* subchannel = "1";
    const char* domain = "0";
    const char* macOptimize = "Normal";
    const char* roamConfig = "Normal";
    bool peerToPeer = true;
    bool isPcCard = false;
    // Minutes × 12 + seconds index, as 16 bits; a stored value beyond the lists is sent as it is.
    int inactivitySecondsIndex = 0;  // seconds / 5: 0..11 in the list
    int inactivityMinutes = 0;       // 0..60 in the list
};
// The station type, Master settings, domain, inactivity and peer-to-peer in one list, then the
// MAC optimisation (Master settings only) and the roaming speed.
// Returns: kOk; the status of the first step that failed.
Status SetCardOptions(Driver& driver, const CardOptions& options, uint32_t cardIndex = 0);

// Commands 6 and 7 with a search record; nothing reported.
// Returns: the driver's status.
Status StartMasterSearch(Driver& driver, uint8_t domain, uint32_t cardIndex = 0);
Status SearchSynchronous(Driver& driver, uint8_t domain, uint8_t channel, uint8_t subchannel,
                         const char (&masterName)[kMasterNameSize], uint32_t cardIndex = 0);
// Returns: kOk, kSearchStopping or kSearchStopped, all normal (StopSearchSettled); any other
// status is a failure.
Status StopSearch(Driver& driver);
constexpr bool StopSearchSettled(Status status) {
    return status == Status::kOk || status == Status::kSearchStopping ||
           status == Status::kSearchStopped;
}
// Sends the text (at most 20 characters; a longer one is cut) with its NUL.
// Returns: the driver's status.
Status SetSecurityId(Driver& driver, const char* securityId);
// Returns: the driver's status.
Status RestartDriver(Driver& driver);
// Returns: the driver's status.
Status ReleaseCard(Driver& driver);
// Clears the card-initialised flag; no request.
// Returns: kOk.
Status CloseCard(Driver& driver, uint32_t cardIndex = 0);

// InitCard's wait flag for the longer wait for a Master: a re-initialisation that the user or a
// recovery asked for gives the card its full time to find the Master again.
constexpr int kInitCardLongerWait = 1;

// Re-initialises the driver, refreshes CardState and waits up to 10 s (waitFlag 1) or 5 s for
// the card to synchronise to a Master.
// Returns: kOk, also when the wait ran out (syncState then 0); the status of the first step that
// failed.
Status InitCard(Driver& driver, uint8_t& syncState, uint32_t cardIndex, int waitFlag);

// Moves the card onto `master` (its name, address, channel and subchannel) in `domain`.
// Returns: kOk when the card ends up there; kFailed when on another Master; kNoSync when it
// never synchronised; the status of a step that failed.
Status SynchToMaster(Driver& driver, int reinitFlag, uint8_t domain, const MasterReading& master,
                     uint32_t cardIndex = 0);

}  // namespace vz
