// The registry seam on Windows.
#include "platform/win32/registry_win32.h"

#include <windows.h>

namespace vz {

namespace {

// The seam's root is a constant of its own, so the 64-bit sign extension of the system's
// predefined handle stays in this file.
HKEY ToHkey(RegistryKey key) {
    return key == kRegistryLocalMachine ? HKEY_LOCAL_MACHINE : reinterpret_cast<HKEY>(key);
}

RegistryKey FromHkey(HKEY key) {
    return reinterpret_cast<RegistryKey>(key);
}

}  // namespace

RegistryResult Win32Registry::OpenKey(RegistryKey parent, const char* subKey, uint32_t access,
                                      RegistryKey* opened) {
    HKEY key = nullptr;
    LONG result = RegOpenKeyExA(ToHkey(parent), subKey, 0, access, &key);
    *opened = result == ERROR_SUCCESS ? FromHkey(key) : kNoRegistryKey;
    return result;
}

RegistryResult Win32Registry::CreateKey(RegistryKey parent, const char* subKey, uint32_t access,
                                        RegistryKey* opened) {
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(ToHkey(parent), subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  access, nullptr, &key, nullptr);
    *opened = result == ERROR_SUCCESS ? FromHkey(key) : kNoRegistryKey;
    return result;
}

void Win32Registry::CloseKey(RegistryKey key) {
    if (key != kNoRegistryKey && key != kRegistryLocalMachine) {
        RegCloseKey(ToHkey(key));
    }
}

RegistryResult Win32Registry::DeleteKey(RegistryKey parent, const char* subKey) {
    return RegDeleteKeyA(ToHkey(parent), subKey);
}

RegistryResult Win32Registry::QueryInfoKey(RegistryKey key, RegistryKeyInfo* info) {
    DWORD subkeys = 0;
    DWORD maxSubkeyName = 0;
    DWORD values = 0;
    DWORD maxValueName = 0;
    DWORD maxValueData = 0;
    LONG result =
        RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &subkeys, &maxSubkeyName, nullptr,
                         &values, &maxValueName, &maxValueData, nullptr, nullptr);
    if (result == ERROR_SUCCESS) {
        info->subkeyCount = subkeys;
        info->valueCount = values;
        info->maxSubkeyNameLength = maxSubkeyName;
        info->maxValueNameLength = maxValueName;
        info->maxValueDataLength = maxValueData;
    }
    return result;
}

RegistryResult Win32Registry::EnumKey(RegistryKey key, uint32_t index, char* name,
                                      uint32_t capacity) {
    DWORD length = capacity;
    return RegEnumKeyExA(ToHkey(key), index, name, &length, nullptr, nullptr, nullptr, nullptr);
}

RegistryResult Win32Registry::QueryValue(RegistryKey key, const char* name, uint32_t* type,
                                         uint8_t* data, uint32_t* size) {
    DWORD valueType = REG_NONE;
    DWORD valueSize = *size;
    LONG result = RegQueryValueExA(ToHkey(key), name, nullptr, &valueType, data, &valueSize);
    *type = valueType;
    *size = valueSize;
    return result;
}

RegistryResult Win32Registry::SetValue(RegistryKey key, const char* name, uint32_t type,
                                       const uint8_t* data, uint32_t size) {
    return RegSetValueExA(ToHkey(key), name, 0, type, data, size);
}

}  // namespace vz
