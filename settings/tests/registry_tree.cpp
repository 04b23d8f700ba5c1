// Test helpers that build and inspect registry trees through the registry seam.
#include "settings/tests/registry_tree.h"

#include <cstring>
#include <stdexcept>

namespace vz::test {

std::string TestValue::Text() const {
    std::string text(data.begin(), data.end());
    return text.substr(0, text.find('\0'));
}

TestValue Sz(const std::string& text) {
    return SzSized(text, static_cast<uint32_t>(text.size()) + 1);
}

TestValue SzSized(const std::string& text, uint32_t size) {
    TestValue value{kRegSz, std::vector<uint8_t>(size, 0)};
    std::memcpy(value.data.data(), text.data(), std::min<size_t>(size, text.size()));
    return value;
}

TestValue Dword(uint32_t value) {
    return TestValue{kRegDword,
                     {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                      static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)}};
}

TestValue Binary(std::vector<uint8_t> data) {
    return TestValue{kRegBinary, std::move(data)};
}

void PutKey(Registry& registry, const std::string& path) {
    RegistryKey key = kNoRegistryKey;
    if (registry.CreateKey(kRegistryLocalMachine, path.c_str(), kKeyAllAccess, &key) !=
        kRegistryOk) {
        throw std::runtime_error("cannot create " + path);
    }
    registry.CloseKey(key);
}

void PutValue(Registry& registry, const std::string& path, const std::string& name,
              const TestValue& value) {
    RegistryKey key = kNoRegistryKey;
    if (registry.CreateKey(kRegistryLocalMachine, path.c_str(), kKeyAllAccess, &key) !=
            kRegistryOk ||
        registry.SetValue(key, name.c_str(), value.type, value.data.data(),
                          static_cast<uint32_t>(value.data.size())) != kRegistryOk) {
        registry.CloseKey(key);
        throw std::runtime_error("cannot set " + path + " " + name);
    }
    registry.CloseKey(key);
}

std::optional<TestValue> GetValue(Registry& registry, RegistryKey key, const std::string& name) {
    TestValue value;
    uint32_t size = 0;
    if (registry.QueryValue(key, name.c_str(), &value.type, nullptr, &size) != kRegistryOk) {
        return std::nullopt;
    }
    value.data.resize(size);
    if (registry.QueryValue(key, name.c_str(), &value.type, value.data.data(), &size) !=
        kRegistryOk) {
        return std::nullopt;
    }
    value.data.resize(size);
    return value;
}

std::optional<TestValue> GetValue(Registry& registry, const std::string& path,
                                  const std::string& name) {
    RegistryKey key = kNoRegistryKey;
    if (registry.OpenKey(kRegistryLocalMachine, path.c_str(), kKeyRead, &key) != kRegistryOk) {
        return std::nullopt;
    }
    std::optional<TestValue> value = GetValue(registry, key, name);
    registry.CloseKey(key);
    return value;
}

bool KeyExists(Registry& registry, const std::string& path) {
    RegistryKey key = kNoRegistryKey;
    if (registry.OpenKey(kRegistryLocalMachine, path.c_str(), kKeyRead, &key) != kRegistryOk) {
        return false;
    }
    registry.CloseKey(key);
    return true;
}

void DeleteTree(Registry& registry, const std::string& path) {
    RegistryKey key = kNoRegistryKey;
    if (registry.OpenKey(kRegistryLocalMachine, path.c_str(), kKeyAllAccess, &key) != kRegistryOk) {
        return;
    }
    std::vector<std::string> children;
    char name[256];
    for (uint32_t index = 0; registry.EnumKey(key, index, name, sizeof name) == kRegistryOk;
         ++index) {
        children.emplace_back(name);
    }
    registry.CloseKey(key);
    for (const std::string& child : children) {
        DeleteTree(registry, path + "\\" + child);
    }
    registry.DeleteKey(kRegistryLocalMachine, path.c_str());
}

void AddNtAdapter(Registry& registry, const std::string& controlSet, const std::string& service,
                  const std::string& tag) {
    std::string serviceKey = controlSet + "\\Services\\" + service;
    PutValue(registry, serviceKey, "ImagePath", Sz("System32\\drivers\\" + service + ".sys"));
    PutValue(registry, serviceKey + "\\Parameters", "Master_Name", Sz("MASTER"));
    PutValue(registry, serviceKey + "\\Parameters", "Route", Sz("1"));
    PutValue(registry, serviceKey + "\\Parameters", "Tag", Sz(tag));
    PutKey(registry, serviceKey + "\\Enum");
}

void AddWindows95Adapter(Registry& registry, const std::string& controlSet,
                         const std::string& instance, const std::string& tag) {
    std::string adapter = controlSet + "\\Services\\Class\\Net\\" + instance;
    PutValue(registry, adapter, "DriverDesc", Sz("Vezurez PC Card"));
    PutValue(registry, adapter, "DeviceVxDs", Sz("ridede95.sys"));
    PutValue(registry, adapter, "Tag", Sz(tag));
    for (const char* name : {"Channel", "Domain", "Station_Type", "Master_Name"}) {
        PutValue(registry, adapter + "\\Ndi\\params\\" + name, "ParamDesc", Sz(name));
    }
}

}  // namespace vz::test
