// The 12-digit text form of a 6-byte node address.
#pragma once

#include <cstddef>
#include <cstdint>

#include "driver/card_state.h"

namespace vz {

constexpr size_t kNodeAddressSize = 6;

// The value of one hexadecimal digit of either case, -1 for any other character.
int HexDigitValue(char c);

// "%02x" per byte, lower case, NUL-terminated.
void FormatNodeAddress(const uint8_t (&address)[kNodeAddressSize],
                       char (&text)[kNodeAddressTextSize]);

// Reads hexadecimal pairs into the address, first byte first; a short text, an odd last digit
// or a character that is not a hexadecimal digit ends the parse. Bytes not read are zero.
// Returns the number of bytes read.
size_t ParseNodeAddress(const char* text, uint8_t (&address)[kNodeAddressSize]);

}  // namespace vz
