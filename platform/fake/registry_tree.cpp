// Registry trees built and inspected through the registry seam.
#include "platform/fake/registry_tree.h"

#include <cstring>
#include <stdexcept>

namespace vz::test {

TestValue SzSized(const std::string& text, uint32_t size) {
    TestValue value{kRegSz, std::vector<uint8_t>(size, 0)};
    std::memcpy(value.data.data(), text.data(), std::min<size_t>(size, text.size()));
    return value;
}

TestValue Sz(const std::string& text) {
    return SzSized(text, static_cast<uint32_t>(text.size()) + 1);
}

TestValue Dword(uint32_t value) {
    return {kRegDword,
            {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
             static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)}};
}

TestValue Binary(std::vector<uint8_t> data) {
    return {kRegBinary, std::move(data)};
}

void PutValue(Registry& registry, const std::string& path, const std::string& name,
              const TestValue& value) {
    RegistryKey key = kNoRegistryKey;
    if (registry.CreateKey(kRegistryLocalMachine, path.c_str(), kKeyAllAccess, &key) !=
            kRegistryOk ||
        registry.SetValue(key, name.c_str(), value.type, value.data.data(),
                          static_cast<uint32_t>(value.data.size())) != kRegistryOk) {
        throw std::runtime_error("cannot set " + path + " " + name);
    }
    registry.CloseKey(key);
}

std::optional<TestValue> GetValue(Registry& registry, RegistryKey key, const std::string& name) {
    TestValue value{kRegNone, std::vector<uint8_t>(1024)};  // far more than any test value
    uint32_t size = static_cast<uint32_t>(value.data.size());
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

void DeleteTree(Registry& registry, const std::string& path) {
    RegistryKey key = kNoRegistryKey;
    std::vector<std::string> children;
    char name[256];
    if (registry.OpenKey(kRegistryLocalMachine, path.c_str(), kKeyRead, &key) == kRegistryOk) {
        while (registry.EnumKey(key, static_cast<uint32_t>(children.size()), name, sizeof name) ==
               kRegistryOk) {
            children.emplace_back(name);
        }
        registry.CloseKey(key);
    }
    for (const std::string& child : children) {
        DeleteTree(registry, path + "\\" + child);
    }
    registry.DeleteKey(kRegistryLocalMachine, path.c_str());
}

TreeSnapshot Snapshot(Registry& registry, const std::string& path) {
    TreeSnapshot snapshot;
    RegistryKey key = kNoRegistryKey;
    RegistryKeyInfo info;
    if (registry.OpenKey(kRegistryLocalMachine, path.c_str(), kKeyRead, &key) != kRegistryOk) {
        return {{path + "|", "unreadable"}};
    }
    registry.QueryInfoKey(key, &info);
    snapshot[path + "|"] = std::to_string(info.subkeyCount) + "/" + std::to_string(info.valueCount);
    for (const char* name :
         {"", "Station_Type", "Master_Name", "Channel", "Subchannel", "Mac_Optimize", "Domain",
          "Roam_Config", "Inactivity_Sec", "Inactivity_Min", "Peer_to_Peer"}) {
        if (std::optional<TestValue> value = GetValue(registry, key, name)) {
            snapshot[path + "|" + name] =
                std::to_string(value->type) + std::string(value->data.begin(), value->data.end());
        }
    }
    char name[256];
    for (uint32_t i = 0; registry.EnumKey(key, i, name, sizeof name) == kRegistryOk; ++i) {
        snapshot.merge(Snapshot(registry, path + "\\" + name));
    }
    registry.CloseKey(key);
    return snapshot;
}

std::vector<std::string> Changes(const TreeSnapshot& before, const TreeSnapshot& after) {
    TreeSnapshot all = before;
    all.insert(after.begin(), after.end());
    std::vector<std::string> changes;
    for (const auto& [entry, unused] : all) {
        auto was = before.find(entry);
        auto is = after.find(entry);
        if (was == before.end() || is == after.end() || was->second != is->second) {
            changes.push_back(entry);
        }
    }
    return changes;
}

void AddNtAdapter(Registry& registry, const std::string& controlSet, const std::string& service,
                  const std::string& tag) {
    std::string serviceKey = controlSet + "\\Services\\" + service;
    PutValue(registry, serviceKey, "ImagePath", Sz("System32\\drivers\\" + service + ".sys"));
    PutValue(registry, serviceKey + "\\Parameters", "Master_Name", Sz("MASTER"));
    PutValue(registry, serviceKey + "\\Parameters", "Route", Sz("1"));
    PutValue(registry, serviceKey + "\\Parameters", "Tag", Sz(tag));
    PutValue(registry, serviceKey + "\\Enum", "Count", Dword(1));
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
