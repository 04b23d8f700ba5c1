// The roaming-follow rule, shared by the site survey and the link test.
#include "driver/roaming_follow.h"

#include <cstring>

namespace vz {

Roaming CheckRoaming(Driver& driver, const char* knownAddress, MasterReading& now, Status& status) {
    uint8_t roaming = 1;
    if (GetRoamingFlag(driver, roaming) != Status::kOk || roaming != 0) {
        return Roaming::kOff;
    }
    status = GetMasterNode(driver, now);
    if (status != Status::kOk) {
        return Roaming::kUnread;
    }
    if (now.syncState == 0 || std::strcmp(now.address, knownAddress) == 0) {
        return Roaming::kSameMaster;
    }
    driver.host.Beep(kRoamBeepHz, kRoamBeepMs);
    return Roaming::kNewMaster;
}

}  // namespace vz
