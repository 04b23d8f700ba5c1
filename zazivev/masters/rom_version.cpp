// The ROM version rule of the Master list's link buttons.
#include "zazivev/masters/rom_version.h"

#include <algorithm>

namespace vz {

namespace {

// Far above any part of a version number, and small enough that ten times it is still an int.
constexpr int kSaturatedValue = 100000000;

// The value of the text's leading decimal digits, 0 when it has none, held at kSaturatedValue.
int LeadingValue(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        value = std::min(value * 10 + (c - '0'), kSaturatedValue);
    }
    return value;
}

std::string_view From(std::string_view text, size_t position) {
    return text.substr(std::min(position, text.size()));
}

}  // namespace

bool LinkTestsAllowed(std::string_view version) {
    const std::string_view afterFirst = From(version, 1);
    const int major = LeadingValue(afterFirst.substr(0, afterFirst.find('.')));

    // The digits end at the letter of "V1.47a" anyway.
    int minor = LeadingValue(From(version, 3));
    if (minor < 10) {
        minor *= 10;
    }
    return minor > 48 || major > 1 || version.substr(0, 6) == "V1.47a";
}

}  // namespace vz
