// Reading the card's state through parameter lists.
#include "driver/status_queries.h"

#include <cstring>

#include "driver/node_address.h"
#include "driver/parameter_list.h"
#include "driver/request_block.h"

namespace vz {

namespace {

Status SendGetList(Driver& driver, ParameterList& list, uint32_t cardIndex) {
    return DriverCommand(driver, kCmdGetDriverData, 0, list.Length(), list.Bytes(),
                         ParameterList::kCapacity, cardIndex);
}

// The pattern of every single-parameter read: the out-buffer's bytes go out and come back.
Status ReadOneParameter(Driver& driver, uint16_t id, void* out, const char* sendText,
                        const char* readText, uint32_t cardIndex) {
    ParameterList list;
    list.Append(id, out);
    const Status status = SendGetList(driver, list, cardIndex);
    if (status != Status::kOk) {
        ReportDriverError(driver, status, sendText);
        return status;
    }
    if (list.Get(id, out) != 0) {
        ReportDriverError(driver, Status::kFailed, readText);
        return Status::kFailed;
    }
    return Status::kOk;
}

}  // namespace

Status GetMasterNode(Driver& driver, MasterReading& reading, uint32_t cardIndex) {
    uint8_t master[kNodeAddressSize] = {};
    uint8_t node[kNodeAddressSize] = {};
    char(&masterName)[kMasterNameSize] = reading.name;
    ParameterList list;
    list.Append(kParamMasterAddress, master);
    list.Append(kParamNodeAddress, node);
    list.Append(kParamMasterName, masterName);
    list.Append(kParamChannel, &reading.channel);
    list.Append(kParamSubchannel, &reading.subchannel);
    list.Append(kParamSyncState, &reading.syncState);

    const Status status = SendGetList(driver, list, cardIndex);
    if (status != Status::kOk) {
        ReportDriverError(driver, status, "GetDriverData in GetMasterNode");
        return status;
    }
    const struct {
        uint16_t id;
        void* out;
        const char* text;
    } reads[] = {
        {kParamMasterAddress, master, "GetfromDataList in GetMasterNode Master Addr"},
        {kParamNodeAddress, node, "GetfromDataList in GetMasterNode Node Addr"},
        {kParamMasterName, masterName, "GetfromDataList in GetMasterNode Master Name"},
        {kParamChannel, &reading.channel, "GetfromDataList in GetMasterNode Channel"},
        {kParamSubchannel, &reading.subchannel, "GetfromDataList in GetMasterNode SubChannel"},
        {kParamSyncState, &reading.syncState, "GetfromDataList in GetMasterNode Sync State"},
    };
    for (const auto& read : reads) {
        const int found = list.Get(read.id, read.out);
        // A name taken out stays in the caller's buffer even when a later value is missing, so
        // it is terminated at once: the card's 12 bytes carry no NUL of their own.
        if (read.id == kParamMasterName && found == 0) {
            masterName[kMasterNameSize - 1] = '\0';
        }
        if (found != 0) {
            ReportDriverError(driver, Status::kFailed, read.text);
            return Status::kFailed;
        }
    }
    FormatNodeAddress(master, reading.address);
    FormatNodeAddress(node, reading.nodeAddress);
    return Status::kOk;
}

void AdoptMaster(CardState& card, const MasterReading& reading) {
    std::memcpy(card.masterAddress, reading.address, sizeof card.masterAddress);
    std::memcpy(card.masterName, reading.name, sizeof card.masterName);
    card.masterName[kMasterNameSize - 1] = '\0';
    card.masterAddress[kNodeAddressTextSize - 1] = '\0';
}

Status GetSyncState(Driver& driver, uint8_t& syncState, uint32_t cardIndex) {
    return ReadOneParameter(driver, kParamSyncState, &syncState, "GetDriverData in GetSyncState",
                            "GetfromDataList in GetSyncState", cardIndex);
}

Status GetRoamingFlag(Driver& driver, uint8_t& flag, uint32_t cardIndex) {
    return ReadOneParameter(driver, kParamRoamingFlag, &flag, "GetDriverData in GetRoamingFlag",
                            "GetfromDataList in GetRoamingFlag", cardIndex);
}

Status GetVersion(Driver& driver, char (&version)[32], uint32_t cardIndex) {
    const Status status =
        ReadOneParameter(driver, kParamRomVersion, version, "GetDriverData in GetVersion",
                         "GetfromDataList in GetVersion GetVersion", cardIndex);
    // The card's text is seven bytes with no NUL of its own; the rest of the field stays zero.
    if (status == Status::kOk) {
        std::memset(version + 7, 0, sizeof version - 7);
    }
    return status;
}

Status GetDriverVersion(Driver& driver, char (&version)[32]) {
    const Status status = DriverCommand(driver, kCmdGetDriverVersion, 0, 0,
                                        reinterpret_cast<uint8_t*>(version), sizeof version);
    version[sizeof version - 1] = '\0';
    return status;
}

}  // namespace vz
