// The registry seam on Windows: straight calls to the "A" registry functions.
#pragma once

#include "platform/registry.h"

namespace vz {

class Win32Registry : public Registry {
  public:
    RegistryResult OpenKey(RegistryKey parent, const char* subKey, uint32_t access,
                           RegistryKey* opened) override;
    RegistryResult CreateKey(RegistryKey parent, const char* subKey, uint32_t access,
                             RegistryKey* opened) override;
    void CloseKey(RegistryKey key) override;
    RegistryResult DeleteKey(RegistryKey parent, const char* subKey) override;
    RegistryResult QueryInfoKey(RegistryKey key, RegistryKeyInfo* info) override;
    RegistryResult EnumKey(RegistryKey key, uint32_t index, char* name, uint32_t capacity) override;
    RegistryResult QueryValue(RegistryKey key, const char* name, uint32_t* type, uint8_t* data,
                              uint32_t* size) override;
    RegistryResult SetValue(RegistryKey key, const char* name, uint32_t type, const uint8_t* data,
                            uint32_t size) override;
};

}  // namespace vz
