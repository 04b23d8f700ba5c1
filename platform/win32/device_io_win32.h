// The device I/O seam on Windows: straight calls to the system.
#pragma once

#include "platform/device_io.h"

namespace vz {

class Win32DeviceIo : public DeviceIo {
  public:
    SystemVersion GetSystemVersion() override;
    DeviceHandle OpenDevice(const char* path) override;
    void CloseDevice(DeviceHandle handle) override;
    bool DefineDosDevice(uint32_t flags, const char* name, const char* target) override;
    IoControlResult IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                              uint32_t inSize, uint8_t* out, uint32_t outSize) override;
};

}  // namespace vz
