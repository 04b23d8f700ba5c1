// Bounded reading of one registry value, and the decimal text the adapter's numbers are kept in.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace vz {

// The most any value of the adapter's key is read into; longer ones count as unreadable.
constexpr uint32_t kMaxValueCapacity = 80;

enum class ValueState {
    kMissing,     // the key holds no such value
    kUnreadable,  // it exists but is longer than the buffer, or the read failed otherwise
    kPresent,
};

struct StoredValue {
    ValueState state = ValueState::kMissing;
    uint32_t type = kRegNone;
    uint32_t size = 0;  // at most the capacity it was read with
    std::array<uint8_t, kMaxValueCapacity> data{};

    // REG_SZ data up to its first NUL, never past `size`: a string stored without its NUL
    // is still read safely. Empty for every other type.
    std::string Text() const;
    // REG_DWORD data of exactly four bytes.
    std::optional<uint32_t> Dword() const;
};

// Reads value `name` into a buffer of `capacity` bytes (at most kMaxValueCapacity).
StoredValue ReadValue(Registry& registry, RegistryKey key, const char* name, uint32_t capacity);

// Leading decimal digits, after optional blanks and a sign, as the driver's own reader takes
// them ("12" and "12abc" are 12). No digits, or a number beyond int32, gives nothing.
std::optional<int32_t> ParseDecimal(std::string_view text);

void StoreDword(uint32_t value, uint8_t* out);

}  // namespace vz
