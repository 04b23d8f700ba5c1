// Texts for the programs' windows: printf-style formatting, and the card's text fields
// read within their bounds.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

namespace vz {

// The formatted text up to its first NUL, so a "%c" given '\0' ends the text there.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A text field of the card state, never read past its last byte even when a reply left it
// without a NUL.
template <size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N - 1));
}

// Copies `from` into a text field of the card state, cut to fit and always terminated.
template <size_t N>
void CopyText(char (&to)[N], const char* from) {
    std::snprintf(to, N, "%s", from);
}

}  // namespace vz
