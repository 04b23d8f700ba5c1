// What the card last reported, kept once per process and shown by the dialogs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vz {

constexpr size_t kNodeAddressTextSize = 13;  // 12 hexadecimal digits and a NUL
constexpr size_t kMasterNameSize = 12;       // 11 characters and a NUL

struct CardState {
    char masterName[kMasterNameSize] = "";
    char masterAddress[kNodeAddressTextSize] = "";
    char nodeAddress[kNodeAddressTextSize] = "";
    char romVersion[32] = "";
    char driverVersion[32] = "";
    char rssiMapText[256] = "";
    char rssiMapMarker = ' ';
    uint8_t countryCode = 0;
    uint8_t countryFlag = 0;
    uint8_t cardInitialised = 0;
    char securityId[32] = "";
    uint8_t rssiPercent[256] = {};
};

}  // namespace vz
