// Node address text conversion, safe on short and malformed texts.
#include "driver/node_address.h"

namespace vz {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

void FormatNodeAddress(const uint8_t (&address)[kNodeAddressSize],
                       char (&text)[kNodeAddressTextSize]) {
    static const char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < kNodeAddressSize; ++i) {
        text[2 * i] = kDigits[address[i] >> 4];
        text[2 * i + 1] = kDigits[address[i] & 0xF];
    }
    text[12] = '\0';
}

size_t ParseNodeAddress(const char* text, uint8_t (&address)[kNodeAddressSize]) {
    for (auto& b : address) {
        b = 0;
    }
    size_t count = 0;
    while (count < kNodeAddressSize) {
        const int high = HexDigitValue(text[2 * count]);
        if (high < 0) {
            break;
        }
        const int low = HexDigitValue(text[2 * count + 1]);
        if (low < 0) {
            break;
        }
        address[count++] = static_cast<uint8_t>(high << 4 | low);
    }
    return count;
}

}  // namespace vz
