// Operations that change what the card does: settings, re-initialisation, Master search.
#pragma once

#include <cstdint>

#include "driver/card_state.h"
#include "driver/driver.h"

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

int ClearSyncState(Driver& driver, uint32_t cardIndex = 0);
int ClearMasterAddr(Driver& driver, uint32_t cardIndex = 0);
int SetDomain(Driver& driver, const char* domainText, uint32_t cardIndex = 0);
int SetStationType(Driver& driver, uint8_t stationType, uint32_t cardIndex = 0);
int SetRoamingFlag(Driver& driver, uint8_t flag, uint32_t cardIndex = 0);
int SetInactivityTimer(Driver& driver, uint16_t value, uint32_t cardIndex = 0);

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
    int inactivitySecondsIndex = 0;  // 0..11: 0, 5, ... 55 seconds
    int inactivityMinutes = 0;       // 0..60
};
int SetCardOptions(Driver& driver, const CardOptions& options, uint32_t cardIndex = 0);

int StartMasterSearch(Driver& driver, uint8_t domain, uint32_t cardIndex = 0);
int SearchSynchronous(Driver& driver, uint8_t domain, uint8_t channel, uint8_t subchannel,
                      const char (&masterName)[kMasterNameSize], uint32_t cardIndex = 0);
int StopSearch(Driver& driver);
// Sends the text (at most 20 characters; a longer one is cut) with its NUL.
int SetSecurityId(Driver& driver, const char* securityId);
int RestartDriver(Driver& driver);
int ReleaseCard(Driver& driver);
int CloseCard(Driver& driver, uint32_t cardIndex = 0);

// Re-initialises the driver, refreshes CardState and waits up to 10 s (waitFlag 1) or 5 s for
// the card to synchronise to a Master.
int InitCard(Driver& driver, uint8_t& syncState, uint32_t cardIndex, int waitFlag);

// Moves the card onto the given Master: 0 when it ends up there, -1 when on another Master,
// -2 when it never synchronised.
int SynchToMaster(Driver& driver, int reinitFlag, uint8_t domain, uint8_t channel,
                  uint8_t subchannel, const char (&masterName)[kMasterNameSize],
                  const char* wantedAddress, uint32_t cardIndex = 0);

}  // namespace vz
