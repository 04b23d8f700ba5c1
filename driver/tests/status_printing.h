// Tests compare a status with the plain code a table row gives it, and print it as that code.
#pragma once

#include <ostream>

#include "driver/status.h"

namespace vz {

inline bool operator==(Status status, int code) {
    return StatusCode(status) == code;
}
inline void PrintTo(Status status, std::ostream* out) {
    *out << StatusCode(status);
}

}  // namespace vz
