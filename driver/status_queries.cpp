// Reading the card's state through parameter lists.
#include "driver/status_queries.h"

#include <cstring>

#include "driver/node_address.h"
#include "driver/parameter_list.h"
#include "driver/request_block.h"

namespace vz {

namespace {

int SendGetList(Driver& driver, ParameterList& list, uint32_t cardIndex) {
    return DriverCommand(driver, kCmdGetDriverData, 0, list.Length(), list.Bytes(),
                         ParameterList::kCapacity, cardIndex);
}

// The pattern of every single-parameter read: the out-buffer's bytes go out and come back.
int ReadOneParameter(Driver& driver, uint16_t id, void* out, const char* sendText,
                     const char* readText, uint32_t cardIndex) {
    ParameterList list;
    list.Append(id, out);
    const int status = SendGetList(driver, list, cardIndex);
    if (status != 0) {
        ReportDriverError(driver, status, sendText);
        return status;
    }
    if (list.Get(id, out) != 0) {
        ReportDriverError(driver, -1, readText);
        return -1;
    }
    return 0;
}

}  // namespace

int GetMasterNode(Driver& driver, char (&masterAddress)[kNodeAddressTextSize],
                  char (&masterName)[kMasterNameSize], uint8_t& channel, uint8_t& subchannel,
                  char (&nodeAddress)[kNodeAddressTextSize], uint8_t& syncState,
                  uint32_t cardIndex) {
    uint8_t master[kNodeAddressSize] = {};
    uint8_t node[kNodeAddressSize] = {};
    ParameterList list;
    list.Append(kParamMasterAddress, master);
    list.Append(kParamNodeAddress, node);
    list.Append(kParamMasterName, masterName);
    list.Append(kParamChannel, &channel);
    list.Append(kParamSubchannel, &subchannel);
    list.Append(kParamSyncState, &syncState);

    const int status = SendGetList(driver, list, cardIndex);
    if (status != 0) {
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
        {kParamChannel, &channel, "GetfromDataList in GetMasterNode Channel"},
        {kParamSubchannel, &subchannel, "GetfromDataList in GetMasterNode SubChannel"},
        {kParamSyncState, &syncState, "GetfromDataList in GetMasterNode Sync State"},
    };
    for (const auto& read : reads) {
        const int found = list.Get(read.id, read.out);
        // A name taken out stays in the caller's buffer even when a later value is missing, so
        // it is terminated at once: the card's 12 bytes carry no NUL of their own.
        if (read.id == kParamMasterName && found == 0) {
            masterName[kMasterNameSize - 1] = '\0';
        }
        if (found != 0) {
            ReportDriverError(driver, -1, read.text);
            return -1;
        }
    }
    FormatNodeAddress(master, masterAddress);
    FormatNodeAddress(node, nodeAddress);
    return 0;
}

int GetSyncState(Driver& driver, uint8_t& syncState, uint32_t cardIndex) {
    return ReadOneParameter(driver, kParamSyncState, &syncState, "GetDriverData in GetSyncState",
                            "GetfromDataList in GetSyncState", cardIndex);
}

int GetRoamingFlag(Driver& driver, uint8_t& flag, uint32_t cardIndex) {
    return ReadOneParameter(driver, kParamRoamingFlag, &flag, "GetDriverData in GetRoamingFlag",
                            "GetfromDataList in GetRoamingFlag", cardIndex);
}

int GetVersion(Driver& driver, char (&version)[32], uint32_t cardIndex) {
    const int status =
        ReadOneParameter(driver, kParamRomVersion, version, "GetDriverData in GetVersion",
                         "GetfromDataList in GetVersion GetVersion", cardIndex);
    // The card's text is seven bytes with no NUL of its own; the rest of the field stays zero.
    if (status == 0) {
        std::memset(version + 7, 0, sizeof version - 7);
    }
    return status;
}

int GetDriverVersion(Driver& driver, char (&version)[32]) {
    const int status = DriverCommand(driver, kCmdGetDriverVersion, 0, 0,
                                     reinterpret_cast<uint8_t*>(version), sizeof version);
    version[sizeof version - 1] = '\0';
    return status;
}

}  // namespace vz
