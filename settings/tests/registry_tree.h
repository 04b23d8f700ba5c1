// Test helpers that build and inspect registry trees through the registry seam, so the same
// layouts serve the in-memory registry and the real one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace vz::test {

struct TestValue {
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;

    std::string Text() const;  // the data up to its first NUL
    bool operator==(const TestValue&) const = default;
};

TestValue Sz(const std::string& text);                      // with its NUL
TestValue SzSized(const std::string& text, uint32_t size);  // zero-filled or cut to `size`
TestValue Dword(uint32_t value);
TestValue Binary(std::vector<uint8_t> data);

// Paths are below HKEY_LOCAL_MACHINE; missing keys are created.
void PutKey(Registry& registry, const std::string& path);
void PutValue(Registry& registry, const std::string& path, const std::string& name,
              const TestValue& value);
std::optional<TestValue> GetValue(Registry& registry, const std::string& path,
                                  const std::string& name);
std::optional<TestValue> GetValue(Registry& registry, RegistryKey key, const std::string& name);
bool KeyExists(Registry& registry, const std::string& path);
// Deletes `path` and everything below it; a missing key is no error.
void DeleteTree(Registry& registry, const std::string& path);

// Installations as the driver's setup leaves them, below a control set (normally
// "System\CurrentControlSet"). Each adapter key also holds "Tag" = `tag`, so tests can tell
// which key a walk found.
void AddNtAdapter(Registry& registry, const std::string& controlSet, const std::string& service,
                  const std::string& tag);
void AddWindows95Adapter(Registry& registry, const std::string& controlSet,
                         const std::string& instance, const std::string& tag);

}  // namespace vz::test
