// The standard alphabet with '=' padding, as atob() and data URIs read it.
#include "vzsurvey/report/base64.h"

#include <algorithm>
#include <cstdint>

namespace vz {

std::string Base64(std::string_view bytes) {
    constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t at = 0; at < bytes.size(); at += 3) {
        const size_t count = std::min<size_t>(3, bytes.size() - at);
        std::uint32_t group = 0;
        for (size_t i = 0; i < 3; ++i) {
            group = group << 8 | (i < count ? static_cast<std::uint8_t>(bytes[at + i]) : 0);
        }
        for (size_t i = 0; i < 4; ++i) {
            text.push_back(i <= count ? kAlphabet[group >> (18 - 6 * i) & 0x3f] : '=');
        }
    }
    return text;
}

}  // namespace vz
