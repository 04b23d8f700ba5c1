// The operating system's version record, as the driver channel and the settings store read it.
#pragma once

#include <cstdint>

namespace vz {

constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWindows95 = 1;  // the Windows 95 family
constexpr uint32_t kPlatformWindowsNt = 2;

struct SystemVersion {
    uint32_t platformId = kPlatformWindowsNt;
    uint32_t majorVersion = 4;

    bool IsWindows95Family() const { return platformId == kPlatformWindows95; }
};

}  // namespace vz
