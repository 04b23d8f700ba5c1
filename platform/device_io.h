// Device I/O seam: the system calls through which the driver channel reaches the card's driver.
#pragma once

#include <cstdint>

#include "platform/system_version.h"

namespace vz {

using DeviceHandle = intptr_t;
constexpr DeviceHandle kInvalidDeviceHandle = -1;

// DefineDosDevice flags as the system defines them.
constexpr uint32_t kDddRawTargetPath = 1;
constexpr uint32_t kDddRemoveDefinition = 2;

constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorNoMoreItems = 259;

struct IoControlResult {
    bool succeeded = false;
    uint32_t lastError = 0;  // meaningful only when the call failed
};

// One call per system service; implementations pass calls through and decide nothing.
class DeviceIo {
  public:
    virtual ~DeviceIo() = default;

    virtual SystemVersion GetSystemVersion() = 0;
    // CreateFile for reading and writing, no sharing, open-existing, normal attributes.
    virtual DeviceHandle OpenDevice(const char* path) = 0;
    virtual void CloseDevice(DeviceHandle handle) = 0;
    // target may be null (a removal passes none).
    virtual bool DefineDosDevice(uint32_t flags, const char* name, const char* target) = 0;
    // Synchronous DeviceIoControl; `out` is both the request block and the reply.
    virtual IoControlResult IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                                      uint32_t inSize, uint8_t* out, uint32_t outSize) = 0;
};

}  // namespace vz
