// An in-memory registry for tests: a key tree with typed values, failures on demand and a count
// of open keys, so tests can prove that every key opened is closed again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/registry.h"

namespace vz {

class MemoryRegistry : public Registry {
  public:
    // How often each service was asked for; the benchmark reads these as work done.
    struct CallCounts {
        uint64_t opens = 0;
        uint64_t enumerations = 0;
        uint64_t infoQueries = 0;
        uint64_t valueQueries = 0;
        uint64_t valueSets = 0;
    };

    MemoryRegistry();
    ~MemoryRegistry() override;

    RegistryResult OpenKey(RegistryKey parent, const char* subKey, uint32_t access,
                           RegistryKey* opened) override;
    RegistryResult CreateKey(RegistryKey parent, const char* subKey, uint32_t access,
                             RegistryKey* opened) override;
    void CloseKey(RegistryKey key) override;
    RegistryResult DeleteKey(RegistryKey parent, const char* subKey) override;
    RegistryResult QueryInfoKey(RegistryKey key, RegistryKeyInfo* info) override;
    // Sub-keys come in the order they were created, which real registries do not promise.
    RegistryResult EnumKey(RegistryKey key, uint32_t index, char* name, uint32_t capacity) override;
    RegistryResult QueryValue(RegistryKey key, const char* name, uint32_t* type, uint8_t* data,
                              uint32_t* size) override;
    RegistryResult SetValue(RegistryKey key, const char* name, uint32_t type, const uint8_t* data,
                            uint32_t size) override;

    // Failures on demand for the key at `path` below HKEY_LOCAL_MACHINE (created if missing):
    // opening it, enumerating its sub-keys, or asking for its counts then fails with `error`.
    void FailOpen(const std::string& path, RegistryResult error);
    void FailEnumerate(const std::string& path, RegistryResult error);
    void FailQueryInfo(const std::string& path, RegistryResult error);

    size_t OpenKeyCount() const { return handles_.size(); }
    const CallCounts& Calls() const { return calls_; }
    void ResetCalls() { calls_ = CallCounts{}; }

  private:
    struct Node;
    struct Handle {
        std::shared_ptr<Node> node;
        uint32_t access = 0;
    };

    RegistryResult Resolve(RegistryKey key, uint32_t needed, Node** node);
    static Node* Find(Node* from, const char* path);
    static Node* Create(Node* from, const char* path);
    RegistryKey NewHandle(Node* node, uint32_t access);

    std::shared_ptr<Node> root_;
    std::unordered_map<RegistryKey, Handle> handles_;
    RegistryKey nextHandle_ = 0x1000;
    CallCounts calls_;
};

}  // namespace vz
