// Registry seam: the "A" registry calls below HKEY_LOCAL_MACHINE that the settings store makes.
#pragma once

#include <cstdint>

namespace vz {

// An open key; only the predefined root and keys this seam returned are valid.
using RegistryKey = uintptr_t;
constexpr RegistryKey kNoRegistryKey = 0;
constexpr RegistryKey kRegistryLocalMachine = 0x80000002;  // HKEY_LOCAL_MACHINE; never closed

// The system's error codes, passed through unchanged.
using RegistryResult = int32_t;
constexpr RegistryResult kRegistryOk = 0;
constexpr RegistryResult kRegistryFileNotFound = 2;
constexpr RegistryResult kRegistryAccessDenied = 5;
constexpr RegistryResult kRegistryInvalidHandle = 6;
constexpr RegistryResult kRegistryMoreData = 234;
constexpr RegistryResult kRegistryNoMoreItems = 259;
constexpr RegistryResult kRegistryKeyDeleted = 1018;

// Access rights as the system defines them.
constexpr uint32_t kKeyQueryValue = 0x0001;
constexpr uint32_t kKeySetValue = 0x0002;
constexpr uint32_t kKeyCreateSubKey = 0x0004;
constexpr uint32_t kKeyEnumerateSubKeys = 0x0008;
constexpr uint32_t kKeyRead = 0x20019;
constexpr uint32_t kKeyWrite = 0x20006;
constexpr uint32_t kKeyAllAccess = 0xF003F;

// Value types as the system defines them.
constexpr uint32_t kRegNone = 0;
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;

// Name lengths in characters, without the terminating NUL; data length in bytes.
struct RegistryKeyInfo {
    uint32_t subkeyCount = 0;
    uint32_t valueCount = 0;
    uint32_t maxSubkeyNameLength = 0;
    uint32_t maxValueNameLength = 0;
    uint32_t maxValueDataLength = 0;
};

// One call per system service; implementations pass calls through and decide nothing.
// Sub-key paths may hold several names separated by '\'. A value name "" is the key's
// unnamed (default) value. Names compare without regard to ASCII case, as the system's do.
class Registry {
  public:
    virtual ~Registry() = default;

    virtual RegistryResult OpenKey(RegistryKey parent, const char* subKey, uint32_t access,
                                   RegistryKey* opened) = 0;
    // Opens the key when it exists, creating it and any missing keys above it otherwise.
    virtual RegistryResult CreateKey(RegistryKey parent, const char* subKey, uint32_t access,
                                     RegistryKey* opened) = 0;
    virtual void CloseKey(RegistryKey key) = 0;
    // Fails while the key still has sub-keys.
    virtual RegistryResult DeleteKey(RegistryKey parent, const char* subKey) = 0;
    virtual RegistryResult QueryInfoKey(RegistryKey key, RegistryKeyInfo* info) = 0;
    // `capacity` counts the terminating NUL; a longer name gives kRegistryMoreData.
    virtual RegistryResult EnumKey(RegistryKey key, uint32_t index, char* name,
                                   uint32_t capacity) = 0;
    // `*size` holds the capacity of `data` on entry and the value's size on return; a value
    // longer than the capacity gives kRegistryMoreData (and its size). `data` may be null
    // to ask for the type and size alone.
    virtual RegistryResult QueryValue(RegistryKey key, const char* name, uint32_t* type,
                                      uint8_t* data, uint32_t* size) = 0;
    virtual RegistryResult SetValue(RegistryKey key, const char* name, uint32_t type,
                                    const uint8_t* data, uint32_t size) = 0;
};

}  // namespace vz
