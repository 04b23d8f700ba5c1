// One Master the Master list has heard, as first heard.
#pragma once

#include <string>

namespace vz {

struct MasterRecord {
    std::string address;  // 12 hexadecimal digits; the key of the list
    std::string name;     // at most 11 characters
    int domain = 0;       // the domain searched when the Master was first heard
    int channel = 0;
    int subchannel = 0;
};

}  // namespace vz
