// Re-initialising the card and moving it onto a chosen Master.
#include <cstdio>
#include <cstring>

#include "driver/card_control.h"
#include "driver/request_block.h"
#include "driver/rssi_map.h"
#include "driver/status_queries.h"

namespace vz {

namespace {

constexpr char kReinitialisingText[] = "Please wait while the driver is being re-initialized.";
constexpr uint32_t kCalibrationBeepHz = 1000;
constexpr uint32_t kCalibrationBeepMs = 500;

// The status window of one InitCard, closed on every way out.
class StatusWindow {
  public:
    StatusWindow(CardHost& host) : host_(host) { host_.OpenStatusWindow(kReinitialisingText); }
    ~StatusWindow() { Close(); }
    void Close() {
        if (open_) {
            host_.CloseStatusWindow();
        }
        open_ = false;
    }

  private:
    CardHost& host_;
    bool open_ = true;
};

int WaitForMaster(Driver& driver, uint8_t& syncState, uint32_t cardIndex, int waitFlag) {
    CardState& card = driver.card;
    const uint32_t limitSeconds = waitFlag == 1 ? 10 : 5;
    const uint32_t start = driver.clock.NowMs();
    for (;;) {
        uint8_t channel = 0;
        uint8_t subchannel = 0;
        const int status = GetMasterNode(driver, card.masterAddress, card.masterName, channel,
                                         subchannel, card.nodeAddress, syncState, cardIndex);
        if (status != 0) {
            return status;
        }
        driver.clock.YieldTimeSlice();
        if (syncState != 0 || (driver.clock.NowMs() - start) / 1000 >= limitSeconds) {
            return 0;
        }
    }
}

// Once the card says it is synchronised, it should name the wanted Master within a moment.
int ConfirmMaster(Driver& driver, const char* wantedAddress, uint32_t cardIndex) {
    CardState& card = driver.card;
    const uint32_t start = driver.clock.NowMs();
    for (;;) {
        driver.host.DispatchOneMouseMessage();
        uint8_t channel = 0;
        uint8_t subchannel = 0;
        uint8_t syncState = 0;
        const int status = GetMasterNode(driver, card.masterAddress, card.masterName, channel,
                                         subchannel, card.nodeAddress, syncState, cardIndex);
        if (status != 0) {
            ReportDriverError(driver, status, "GetMasterNode in SynchToMaster");
            return status;
        }
        if (std::strcmp(card.masterAddress, wantedAddress) != 0) {
            syncState = 0;
        }
        if (syncState != 0) {
            return 0;
        }
        if ((driver.clock.NowMs() - start) / 1000 >= kSynchConfirmSeconds) {
            return 0;
        }
        driver.clock.YieldTimeSlice();
    }
}

}  // namespace

int InitCard(Driver& driver, uint8_t& syncState, uint32_t cardIndex, int waitFlag) {
    CardState& card = driver.card;
    if (card.cardInitialised) {
        CloseCard(driver, cardIndex);
    }
    StatusWindow window(driver.host);

    syncState = 0;
    int status = DriverCommand(driver, kCmdInitCard, 0, 0, nullptr, 0, cardIndex);
    if (status != 0) {
        return status;
    }
    card.cardInitialised = 1;

    status = GetVersion(driver, card.romVersion, cardIndex);
    if (status != 0) {
        return status;
    }

    uint8_t countryCode = 0;
    status = GetCountryCode(driver, countryCode, cardIndex);
    if (status != 0) {
        char text[48];
        std::snprintf(text, sizeof text, "Error Getting Country Code %d", status);
        ReportDriverError(driver, status, text);
        return status;
    }
    card.countryCode = countryCode;
    card.countryFlag = countryCode <= 1 ? 1 : 0;

    char mapText[kRssiMapTextSize] = "";
    const int mapStatus = BuildRssiMap(driver, mapText, cardIndex);
    card.rssiMapText[0] = '\0';
    card.rssiMapMarker = ' ';
    if (mapStatus == 0) {
        std::memcpy(card.rssiMapText, mapText, sizeof mapText);
        card.rssiMapMarker = '+';
    } else if (mapStatus > 0) {
        driver.host.Beep(kCalibrationBeepHz, kCalibrationBeepMs);
    }

    status = WaitForMaster(driver, syncState, cardIndex, waitFlag);
    window.Close();
    return status;
}

int SynchToMaster(Driver& driver, int reinitFlag, uint8_t domain, uint8_t channel,
                  uint8_t subchannel, const char (&masterName)[kMasterNameSize],
                  const char* wantedAddress, uint32_t cardIndex) {
    uint8_t roaming = 0;
    int status = GetRoamingFlag(driver, roaming, cardIndex);
    if (status != 0) {
        ReportDriverError(driver, status, "GetRoamingFlag in SynchToMaster");
        return status;
    }
    if (roaming != 1 || (reinitFlag & 0xFF) != 0) {
        CloseCard(driver, cardIndex);
        status = SetRoamingFlag(driver, 1, cardIndex);
        if (status != 0) {
            ReportDriverError(driver, status, "SetRoamingFlag in SynchToMaster");
            return status;
        }
        status = SetStationType(driver, kStationTypeStation, cardIndex);
        if (status != 0) {
            ReportDriverError(driver, status, "SetStationType in SynchToMaster");
            return status;
        }
        uint8_t syncState = 0;
        status = InitCard(driver, syncState, cardIndex, reinitFlag);
        if (status != 0) {
            ReportDriverError(driver, status, "InitCard in SynchToMaster");
            return status;
        }
    }
    status = ClearSyncState(driver, cardIndex);
    if (status != 0) {
        ReportDriverError(driver, status, "ClearSyncState in SynchToMaster");
        return status;
    }
    status = SearchSynchronous(driver, domain, channel, subchannel, masterName, cardIndex);
    if (status != 0) {
        ReportDriverError(driver, status, "SearchSynchronous in SynchToMaster");
        return status;
    }

    uint8_t syncState = 0;
    for (int poll = 0;; ++poll) {
        GetSyncState(driver, syncState, cardIndex);
        if (syncState != 0) {
            break;
        }
        if (poll + 1 >= kSynchMaxSyncPolls) {
            return kStatusNoSync;
        }
        driver.host.DispatchOneMouseMessage();
        driver.clock.YieldTimeSlice();
    }

    status = ConfirmMaster(driver, wantedAddress, cardIndex);
    if (status != 0) {
        return status;
    }
    return std::strcmp(driver.card.masterAddress, wantedAddress) == 0 ? 0 : -1;
}

}  // namespace vz
