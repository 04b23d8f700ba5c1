// Bounded reading of one registry value, and decimal text.
#include "settings/registry_value.h"

#include <algorithm>
#include <cstring>

namespace vz {

std::string StoredValue::Text() const {
    if (type != kRegSz) {
        return {};
    }
    const char* text = reinterpret_cast<const char*>(data.data());
    size_t length = std::min<size_t>(size, data.size());
    const void* nul = std::memchr(text, '\0', length);
    return std::string(text, nul != nullptr ? static_cast<const char*>(nul) - text : length);
}

std::optional<uint32_t> StoredValue::Dword() const {
    if (type != kRegDword || size != 4) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
           static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
}

StoredValue ReadValue(Registry& registry, RegistryKey key, const char* name, uint32_t capacity) {
    StoredValue value;
    uint32_t size = std::min(capacity, kMaxValueCapacity);
    uint32_t type = kRegNone;
    RegistryResult result = registry.QueryValue(key, name, &type, value.data.data(), &size);
    if (result == kRegistryFileNotFound) {
        return value;
    }
    // The size reported back is trusted no further than the buffer it came in.
    if (result != kRegistryOk || size > std::min(capacity, kMaxValueCapacity)) {
        value.state = ValueState::kUnreadable;
        return value;
    }
    value.state = ValueState::kPresent;
    value.type = type;
    value.size = size;
    return value;
}

std::optional<int32_t> ParseDecimal(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    int64_t number = 0;
    size_t digits = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
        number = number * 10 + (text[at] - '0');
        if (number > int64_t{INT32_MAX} + 1) {
            return std::nullopt;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    number = negative ? -number : number;
    if (number > INT32_MAX || number < INT32_MIN) {
        return std::nullopt;
    }
    return static_cast<int32_t>(number);
}

void StoreDword(uint32_t value, uint8_t* out) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

}  // namespace vz
