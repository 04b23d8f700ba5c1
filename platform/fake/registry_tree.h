// Registry trees built and inspected through the registry seam, so the same layouts serve the
// in-memory registry and the real one; the settings, tool and monitor tests share them.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace vz::test {

struct TestValue {
    uint32_t type = kRegNone;
    std::vector<uint8_t> data;

    bool operator==(const TestValue&) const = default;
};

TestValue SzSized(const std::string& text, uint32_t size);  // zero-filled or cut to `size`
TestValue Sz(const std::string& text);                      // with its NUL
TestValue Dword(uint32_t value);
TestValue Binary(std::vector<uint8_t> data);

// Paths are below HKEY_LOCAL_MACHINE; PutValue creates missing keys, DeleteTree deletes a key
// and everything below it.
void PutValue(Registry& registry, const std::string& path, const std::string& name,
              const TestValue& value);
std::optional<TestValue> GetValue(Registry& registry, RegistryKey key, const std::string& name);
std::optional<TestValue> GetValue(Registry& registry, const std::string& path,
                                  const std::string& name);
void DeleteTree(Registry& registry, const std::string& path);

// Every key below `path` with its counts, and every value the settings store writes, as
// "path|name" -> contents: two snapshots differ wherever the store made or changed something.
using TreeSnapshot = std::map<std::string, std::string>;
TreeSnapshot Snapshot(Registry& registry, const std::string& path);
// The entries of `after` that differ from (or are missing in) `before`, and the reverse.
std::vector<std::string> Changes(const TreeSnapshot& before, const TreeSnapshot& after);

// Installations as the driver's setup leaves them below a control set; each adapter key also
// holds "Tag" = `tag`, so tests can tell which key a walk found.
void AddNtAdapter(Registry& registry, const std::string& controlSet, const std::string& service,
                  const std::string& tag);
void AddWindows95Adapter(Registry& registry, const std::string& controlSet,
                         const std::string& instance, const std::string& tag);

}  // namespace vz::test
