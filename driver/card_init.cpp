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

// The card state takes the Master and node address of a complete reading; after a failed one
// it keeps what the last complete reading gave.
Status ReadMasterIntoCard(Driver& driver, uint8_t& syncState, uint32_t cardIndex) {
    MasterReading reading;
    const Status status = GetMasterNode(driver, reading, cardIndex);
    syncState = reading.syncState;
    if (status == Status::kOk) {
        AdoptMaster(driver.card, reading);
        std::memcpy(driver.card.nodeAddress, reading.nodeAddress, sizeof reading.nodeAddress);
    }
    return status;
}

Status WaitForMaster(Driver& driver, uint8_t& syncState, uint32_t cardIndex, int waitFlag) {
    const uint32_t limitSeconds = waitFlag == kInitCardLongerWait ? 10 : 5;
    const uint32_t start = driver.clock.NowMs();
    for (;;) {
        const Status status = ReadMasterIntoCard(driver, syncState, cardIndex);
        if (status != Status::kOk) {
            return status;
        }
        driver.clock.YieldTimeSlice();
        if (syncState != 0 || (driver.clock.NowMs() - start) / 1000 >= limitSeconds) {
            return Status::kOk;
        }
    }
}

// Once the card says it is synchronised, it should name the wanted Master within a moment.
Status ConfirmMaster(Driver& driver, const char* wantedAddress, uint32_t cardIndex) {
    const uint32_t start = driver.clock.NowMs();
    for (;;) {
        driver.host.DispatchOneMouseMessage();
        uint8_t syncState = 0;
        const Status status = ReadMasterIntoCard(driver, syncState, cardIndex);
        if (status != Status::kOk) {
            ReportDriverError(driver, status, "GetMasterNode in SynchToMaster");
            return status;
        }
        if (std::strcmp(driver.card.masterAddress, wantedAddress) != 0) {
            syncState = 0;
        }
        if (syncState != 0) {
            return Status::kOk;
        }
        if ((driver.clock.NowMs() - start) / 1000 >= kSynchConfirmSeconds) {
            return Status::kOk;
        }
        driver.clock.YieldTimeSlice();
    }
}

}  // namespace

Status InitCard(Driver& driver, uint8_t& syncState, uint32_t cardIndex, int waitFlag) {
    CardState& card = driver.card;
    if (card.cardInitialised) {
        CloseCard(driver, cardIndex);
    }
    StatusWindow window(driver.host);

    syncState = 0;
    Status status = DriverCommand(driver, kCmdInitCard, 0, 0, nullptr, 0, cardIndex);
    if (status != Status::kOk) {
        return status;
    }
    card.cardInitialised = 1;

    status = GetVersion(driver, card.romVersion, cardIndex);
    if (status != Status::kOk) {
        return status;
    }

    uint8_t countryCode = 0;
    status = GetCountryCode(driver, countryCode, cardIndex);
    if (status != Status::kOk) {
        char text[48];
        std::snprintf(text, sizeof text, "Error Getting Country Code %d", StatusCode(status));
        ReportDriverError(driver, status, text);
        return status;
    }
    card.countryCode = countryCode;
    card.countryFlag = countryCode <= 1 ? 1 : 0;

    char mapText[kRssiMapTextSize] = "";
    const Status mapStatus = BuildRssiMap(driver, mapText, cardIndex);
    card.rssiMapText[0] = '\0';
    card.rssiMapMarker = ' ';
    if (mapStatus == Status::kOk) {
        std::memcpy(card.rssiMapText, mapText, sizeof mapText);
        card.rssiMapMarker = '+';
    } else if (StatusCode(mapStatus) > 0) {
        driver.host.Beep(kCalibrationBeepHz, kCalibrationBeepMs);
    }

    status = WaitForMaster(driver, syncState, cardIndex, waitFlag);
    window.Close();
    return status;
}

Status SynchToMaster(Driver& driver, int reinitFlag, uint8_t domain, const MasterReading& master,
                     uint32_t cardIndex) {
    uint8_t roaming = 0;
    Status status = GetRoamingFlag(driver, roaming, cardIndex);
    if (status != Status::kOk) {
        ReportDriverError(driver, status, "GetRoamingFlag in SynchToMaster");
        return status;
    }
    if (roaming != 1 || (reinitFlag & 0xFF) != 0) {
        CloseCard(driver, cardIndex);
        status = SetRoamingFlag(driver, 1, cardIndex);
        if (status != Status::kOk) {
            ReportDriverError(driver, status, "SetRoamingFlag in SynchToMaster");
            return status;
        }
        status = SetStationType(driver, kStationTypeStation, cardIndex);
        if (status != Status::kOk) {
            ReportDriverError(driver, status, "SetStationType in SynchToMaster");
            return status;
        }
        uint8_t syncState = 0;
        status = InitCard(driver, syncState, cardIndex, reinitFlag);
        if (status != Status::kOk) {
            ReportDriverError(driver, status, "InitCard in SynchToMaster");
            return status;
        }
    }
    status = ClearSyncState(driver, cardIndex);
    if (status != Status::kOk) {
        ReportDriverError(driver, status, "ClearSyncState in SynchToMaster");
        return status;
    }
    // The search record takes the name with its NUL inside the card's twelve bytes.
    char name[kMasterNameSize] = {};
    std::memcpy(name, master.name, kMasterNameSize - 1);
    status = SearchSynchronous(driver, domain, master.channel, master.subchannel, name, cardIndex);
    if (status != Status::kOk) {
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
            return Status::kNoSync;
        }
        driver.host.DispatchOneMouseMessage();
        driver.clock.YieldTimeSlice();
    }

    status = ConfirmMaster(driver, master.address, cardIndex);
    if (status != Status::kOk) {
        return status;
    }
    return std::strcmp(driver.card.masterAddress, master.address) == 0 ? Status::kOk
                                                                       : Status::kFailed;
}

}  // namespace vz
