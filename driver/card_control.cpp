// Card control operations: parameter setters, card options, search and single commands.
#include "driver/card_control.h"

#include <cstring>

#include "driver/parameter_list.h"
#include "driver/request_block.h"

namespace vz {

namespace {

Status SendSetList(Driver& driver, ParameterList& list, const char* failureText,
                   uint32_t cardIndex) {
    const Status status = DriverCommand(driver, kCmdSetDriverData, 0, list.Length(), list.Bytes(),
                                        ParameterList::kCapacity, cardIndex);
    if (status != Status::kOk) {
        ReportDriverError(driver, status, failureText);
    }
    return status;
}

Status SetOneParameter(Driver& driver, uint16_t id, const void* value, const char* failureText,
                       uint32_t cardIndex) {
    ParameterList list;
    list.Append(id, value);
    return SendSetList(driver, list, failureText, cardIndex);
}

Status SendByteCommand(Driver& driver, uint32_t command, uint8_t value, uint32_t cardIndex) {
    return DriverCommand(driver, command, 0, 1, &value, 1, cardIndex);
}

Status SendEmptyCommand(Driver& driver, uint32_t command, uint32_t cardIndex = 0) {
    return DriverCommand(driver, command, 0, 0, nullptr, 0, cardIndex);
}

Status SendSearchRecord(Driver& driver, uint32_t command, uint8_t domain, uint8_t channel,
                        uint8_t subchannel, const char* name, uint32_t cardIndex) {
    uint8_t record[kSearchRecordSize] = {};
    record[0] = channel;
    record[1] = subchannel;
    record[2] = domain;
    if (name != nullptr) {
        std::memcpy(record + 3, name, kMasterNameSize);
    }
    record[kSearchRecordSize - 1] = '\0';
    return DriverCommand(driver, command, 0, sizeof record, record, sizeof record, cardIndex);
}

uint8_t StationTypeCode(const char* text) {
    if (std::strcmp(text, "Station") == 0) {
        return kStationTypeStation;
    }
    if (std::strcmp(text, "Alternate Master") == 0) {
        return kStationTypeAlternateMaster;
    }
    return kStationTypeMaster;
}

uint8_t RoamConfigCode(const char* text) {
    if (std::strcmp(text, "Slow") == 0) {
        return 0;
    }
    if (std::strcmp(text, "Normal") == 0) {
        return 1;
    }
    return 2;
}

}  // namespace

uint32_t LeadingDecimal(const char* text) {
    uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + uint32_t(*text - '0');
        if (value > 0xFFFFFF) {
            break;  // far beyond any field; stop before overflow
        }
    }
    return value;
}

Status ClearSyncState(Driver& driver, uint32_t cardIndex) {
    const uint8_t zero = 0;
    return SetOneParameter(driver, kParamSyncState, &zero, "Set Driver Data in ClearSyncState",
                           cardIndex);
}

Status ClearMasterAddr(Driver& driver, uint32_t cardIndex) {
    const uint8_t zeros[6] = {};
    ParameterList list;
    list.Append(kParamMasterAddress, zeros);
    list.Append(kParamSyncState, zeros);
    return SendSetList(driver, list, "Set Driver Data in Clear Master Addr", cardIndex);
}

Status SetDomain(Driver& driver, const char* domainText, uint32_t cardIndex) {
    const uint8_t domain = static_cast<uint8_t>(LeadingDecimal(domainText));
    return SetOneParameter(driver, kParamDomain, &domain, "SetDriverData in SetDomain", cardIndex);
}

Status SetStationType(Driver& driver, uint8_t stationType, uint32_t cardIndex) {
    return SetOneParameter(driver, kParamStationType, &stationType,
                           "SetDriverData in SetStationType", cardIndex);
}

Status SetRoamingFlag(Driver& driver, uint8_t flag, uint32_t cardIndex) {
    return SetOneParameter(driver, kParamRoamingFlag, &flag, "SetDriverData in SetRoamingFlag",
                           cardIndex);
}

Status SetInactivityTimer(Driver& driver, uint16_t value, uint32_t cardIndex) {
    uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    return SetOneParameter(driver, kParamInactivity, bytes, "SetDriverData in SetCardOptions",
                           cardIndex);
}

Status SetCardOptions(Driver& driver, const CardOptions& options, uint32_t cardIndex) {
    const uint8_t stationType = StationTypeCode(options.stationType);
    char name[kMasterNameSize] = {};
    std::strncpy(name, options.masterName, kMasterNameSize - 1);
    const uint8_t channel = static_cast<uint8_t>(LeadingDecimal(options.channel));
    const uint8_t subchannel = static_cast<uint8_t>(LeadingDecimal(options.subchannel));
    const uint8_t domain = static_cast<uint8_t>(LeadingDecimal(options.domain));
    // Unsigned arithmetic: a stored value of any width wraps into the 16 bits instead of
    // overflowing.
    const uint16_t inactivity =
        static_cast<uint16_t>(static_cast<uint32_t>(options.inactivityMinutes) * 12u +
                              static_cast<uint32_t>(options.inactivitySecondsIndex));
    const uint8_t inactivityBytes[2] = {static_cast<uint8_t>(inactivity),
                                        static_cast<uint8_t>(inactivity >> 8)};
    const uint8_t peerToPeer = options.peerToPeer ? 1 : 0;

    ParameterList list;
    list.Append(kParamStationType, &stationType);
    if (options.masterSettings) {
        list.Append(kParamAnnouncedName, name);
        list.Append(kParamMasterChannel, &channel);
        list.Append(kParamMasterSubchannel, &subchannel);
    }
    list.Append(kParamDomain, &domain);
    list.Append(kParamInactivity, inactivityBytes);
    list.Append(kParamPeerToPeer, &peerToPeer);
    Status status = SendSetList(driver, list, "SetDriverData in SetCardOptions", cardIndex);
    if (status != Status::kOk) {
        return status;
    }

    if (options.masterSettings) {
        const uint8_t mac = std::strcmp(options.macOptimize, "Normal") == 0 ? 0 : 1;
        status = SendByteCommand(driver, kCmdSetMacOptimize, mac, cardIndex);
        if (status != Status::kOk) {
            ReportDriverError(driver, status, "SetMACOptimize in SetCardOptions");
            return status;
        }
    }
    status =
        SendByteCommand(driver, kCmdSetRoamConfig, RoamConfigCode(options.roamConfig), cardIndex);
    if (status != Status::kOk) {
        ReportDriverError(driver, status, "SetRoamConfig in SetCardOptions");
    }
    return status;
}

Status StartMasterSearch(Driver& driver, uint8_t domain, uint32_t cardIndex) {
    return SendSearchRecord(driver, kCmdStartMasterSearch, domain, 0, 0, nullptr, cardIndex);
}

Status SearchSynchronous(Driver& driver, uint8_t domain, uint8_t channel, uint8_t subchannel,
                         const char (&masterName)[kMasterNameSize], uint32_t cardIndex) {
    return SendSearchRecord(driver, kCmdSearchSynchronous, domain, channel, subchannel, masterName,
                            cardIndex);
}

Status StopSearch(Driver& driver) {
    return SendEmptyCommand(driver, kCmdStopSearch);
}

Status SetSecurityId(Driver& driver, const char* securityId) {
    uint8_t text[kSecurityIdMaxLength + 1] = {};
    const size_t length = strnlen(securityId, kSecurityIdMaxLength);
    std::memcpy(text, securityId, length);
    return DriverCommand(driver, kCmdSetSecurityId, 0, uint32_t(length + 1), text, sizeof text);
}

Status RestartDriver(Driver& driver) {
    return SendEmptyCommand(driver, kCmdRestartDriver);
}

Status ReleaseCard(Driver& driver) {
    return SendEmptyCommand(driver, kCmdReleaseCard);
}

Status CloseCard(Driver& driver, uint32_t) {
    driver.card.cardInitialised = 0;
    return Status::kOk;
}

}  // namespace vz
