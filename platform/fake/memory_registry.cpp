// An in-memory registry for tests.
#include "platform/fake/memory_registry.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vz {

namespace {

std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

bool SameFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> SplitPath(const char* path) {
    std::vector<std::string> parts;
    if (path == nullptr) {
        return parts;
    }
    std::string_view rest(path);
    while (!rest.empty()) {
        size_t cut = rest.find('\\');
        std::string_view part = rest.substr(0, cut);
        if (!part.empty()) {
            parts.emplace_back(part);
        }
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    }
    return parts;
}

}  // namespace

// Handles share ownership of their key, so a key deleted while open stays valid to ask about.
struct MemoryRegistry::Node : std::enable_shared_from_this<Node> {
    struct Value {
        std::string name;
        uint32_t type = kRegNone;
        std::vector<uint8_t> data;
    };

    std::string name;
    std::vector<std::shared_ptr<Node>> children;          // creation order
    std::unordered_map<std::string, size_t> childByName;  // folded name -> position
    std::vector<Value> values;
    bool deleted = false;
    RegistryResult openError = kRegistryOk;
    RegistryResult enumError = kRegistryOk;
    RegistryResult infoError = kRegistryOk;

    Node* Child(const std::string& childName) const {
        auto found = childByName.find(Folded(childName));
        return found == childByName.end() ? nullptr : children[found->second].get();
    }

    Value* FindValue(const char* valueName) {
        std::string_view wanted = valueName == nullptr ? "" : valueName;
        for (Value& value : values) {
            if (SameFolded(value.name, wanted)) {
                return &value;
            }
        }
        return nullptr;
    }
};

MemoryRegistry::MemoryRegistry() : root_(std::make_shared<Node>()) {}

MemoryRegistry::~MemoryRegistry() = default;

RegistryResult MemoryRegistry::Resolve(RegistryKey key, uint32_t needed, Node** node) {
    if (key == kRegistryLocalMachine) {
        *node = root_.get();
        return kRegistryOk;
    }
    auto found = handles_.find(key);
    if (found == handles_.end()) {
        return kRegistryInvalidHandle;
    }
    if ((found->second.access & needed) != needed) {
        return kRegistryAccessDenied;
    }
    if (found->second.node->deleted) {
        return kRegistryKeyDeleted;
    }
    *node = found->second.node.get();
    return kRegistryOk;
}

MemoryRegistry::Node* MemoryRegistry::Find(Node* from, const char* path) {
    for (const std::string& part : SplitPath(path)) {
        from = from->Child(part);
        if (from == nullptr) {
            return nullptr;
        }
    }
    return from;
}

MemoryRegistry::Node* MemoryRegistry::Create(Node* from, const char* path) {
    for (const std::string& part : SplitPath(path)) {
        Node* next = from->Child(part);
        if (next == nullptr) {
            auto created = std::make_shared<Node>();
            created->name = part;
            next = created.get();
            from->childByName[Folded(part)] = from->children.size();
            from->children.push_back(std::move(created));
        }
        from = next;
    }
    return from;
}

RegistryKey MemoryRegistry::NewHandle(Node* node, uint32_t access) {
    RegistryKey handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = Handle{node->shared_from_this(), access};
    return handle;
}

RegistryResult MemoryRegistry::OpenKey(RegistryKey parent, const char* subKey, uint32_t access,
                                       RegistryKey* opened) {
    ++calls_.opens;
    *opened = kNoRegistryKey;
    Node* from = nullptr;
    RegistryResult result = Resolve(parent, 0, &from);
    if (result != kRegistryOk) {
        return result;
    }
    Node* node = Find(from, subKey);
    if (node == nullptr) {
        return kRegistryFileNotFound;
    }
    if (node->openError != kRegistryOk) {
        return node->openError;
    }
    *opened = NewHandle(node, access);
    return kRegistryOk;
}

RegistryResult MemoryRegistry::CreateKey(RegistryKey parent, const char* subKey, uint32_t access,
                                         RegistryKey* opened) {
    *opened = kNoRegistryKey;
    Node* from = nullptr;
    RegistryResult result = Resolve(parent, kKeyCreateSubKey, &from);
    if (result != kRegistryOk) {
        return result;
    }
    *opened = NewHandle(Create(from, subKey), access);
    return kRegistryOk;
}

void MemoryRegistry::CloseKey(RegistryKey key) {
    handles_.erase(key);
}

RegistryResult MemoryRegistry::DeleteKey(RegistryKey parent, const char* subKey) {
    Node* from = nullptr;
    RegistryResult result = Resolve(parent, 0, &from);
    if (result != kRegistryOk) {
        return result;
    }
    std::vector<std::string> parts = SplitPath(subKey);
    if (parts.empty()) {
        return kRegistryAccessDenied;
    }
    std::string last = parts.back();
    parts.pop_back();
    for (const std::string& part : parts) {
        from = from->Child(part);
        if (from == nullptr) {
            return kRegistryFileNotFound;
        }
    }
    Node* victim = from->Child(last);
    if (victim == nullptr) {
        return kRegistryFileNotFound;
    }
    if (!victim->children.empty()) {
        return kRegistryAccessDenied;
    }
    victim->deleted = true;
    from->children.erase(from->children.begin() +
                         static_cast<std::ptrdiff_t>(from->childByName[Folded(last)]));
    from->childByName.clear();
    for (size_t i = 0; i < from->children.size(); ++i) {
        from->childByName[Folded(from->children[i]->name)] = i;
    }
    return kRegistryOk;
}

RegistryResult MemoryRegistry::QueryInfoKey(RegistryKey key, RegistryKeyInfo* info) {
    ++calls_.infoQueries;
    Node* node = nullptr;
    RegistryResult result = Resolve(key, kKeyQueryValue, &node);
    if (result != kRegistryOk) {
        return result;
    }
    if (node->infoError != kRegistryOk) {
        return node->infoError;
    }
    *info = RegistryKeyInfo{};
    info->subkeyCount = static_cast<uint32_t>(node->children.size());
    info->valueCount = static_cast<uint32_t>(node->values.size());
    for (const auto& child : node->children) {
        info->maxSubkeyNameLength =
            std::max(info->maxSubkeyNameLength, static_cast<uint32_t>(child->name.size()));
    }
    for (const Node::Value& value : node->values) {
        info->maxValueNameLength =
            std::max(info->maxValueNameLength, static_cast<uint32_t>(value.name.size()));
        info->maxValueDataLength =
            std::max(info->maxValueDataLength, static_cast<uint32_t>(value.data.size()));
    }
    return kRegistryOk;
}

RegistryResult MemoryRegistry::EnumKey(RegistryKey key, uint32_t index, char* name,
                                       uint32_t capacity) {
    ++calls_.enumerations;
    Node* node = nullptr;
    RegistryResult result = Resolve(key, kKeyEnumerateSubKeys, &node);
    if (result != kRegistryOk) {
        return result;
    }
    if (node->enumError != kRegistryOk) {
        return node->enumError;
    }
    if (index >= node->children.size()) {
        return kRegistryNoMoreItems;
    }
    const std::string& childName = node->children[index]->name;
    if (childName.size() + 1 > capacity) {
        return kRegistryMoreData;
    }
    std::memcpy(name, childName.c_str(), childName.size() + 1);
    return kRegistryOk;
}

RegistryResult MemoryRegistry::QueryValue(RegistryKey key, const char* name, uint32_t* type,
                                          uint8_t* data, uint32_t* size) {
    ++calls_.valueQueries;
    Node* node = nullptr;
    RegistryResult result = Resolve(key, kKeyQueryValue, &node);
    if (result != kRegistryOk) {
        return result;
    }
    Node::Value* value = node->FindValue(name);
    if (value == nullptr) {
        return kRegistryFileNotFound;
    }
    uint32_t capacity = *size;
    *type = value->type;
    *size = static_cast<uint32_t>(value->data.size());
    if (data == nullptr) {
        return kRegistryOk;
    }
    if (value->data.size() > capacity) {
        return kRegistryMoreData;
    }
    std::copy(value->data.begin(), value->data.end(), data);
    return kRegistryOk;
}

RegistryResult MemoryRegistry::SetValue(RegistryKey key, const char* name, uint32_t type,
                                        const uint8_t* data, uint32_t size) {
    ++calls_.valueSets;
    Node* node = nullptr;
    RegistryResult result = Resolve(key, kKeySetValue, &node);
    if (result != kRegistryOk) {
        return result;
    }
    Node::Value* value = node->FindValue(name);
    if (value == nullptr) {
        node->values.push_back(Node::Value{name == nullptr ? "" : name, type, {}});
        value = &node->values.back();
    }
    value->type = type;
    value->data.assign(data, data + size);
    return kRegistryOk;
}

void MemoryRegistry::FailOpen(const std::string& path, RegistryResult error) {
    Create(root_.get(), path.c_str())->openError = error;
}

void MemoryRegistry::FailEnumerate(const std::string& path, RegistryResult error) {
    Create(root_.get(), path.c_str())->enumError = error;
}

void MemoryRegistry::FailQueryInfo(const std::string& path, RegistryResult error) {
    Create(root_.get(), path.c_str())->infoError = error;
}

}  // namespace vz
