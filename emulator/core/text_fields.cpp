// Tokenising and typed reading of the emulator's text lines.
#include "emulator/core/text_fields.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/node_address.h"

namespace vz {

namespace {

bool IsKeyChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

void AddToken(const std::string& token, LineTokens& out) {
    const size_t eq = token.find('=');
    bool isField = eq != std::string::npos && eq > 0;
    for (size_t i = 0; isField && i < eq; ++i) {
        isField = IsKeyChar(token[i]);
    }
    if (isField) {
        out.fields.emplace_back(token.substr(0, eq), token.substr(eq + 1));
    } else {
        out.words.push_back(token);
    }
}

}  // namespace

bool TokenizeLine(std::string_view line, LineTokens& out, std::string& error) {
    out = LineTokens{};
    if (line.size() > kMaxLineLength) {
        error = "line longer than " + std::to_string(kMaxLineLength) + " characters";
        return false;
    }
    std::string token;
    bool inToken = false;
    bool inQuotes = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t' && c != '\r') {
            error = "control character in line";
            return false;
        }
        if (inQuotes) {
            if (c == '"') {
                inQuotes = false;
            } else if (c == '\\') {
                if (i + 1 >= line.size() || (line[i + 1] != '"' && line[i + 1] != '\\')) {
                    error = "only \\\" and \\\\ may be escaped inside quotes";
                    return false;
                }
                token += line[++i];
            } else {
                token += c;
            }
            continue;
        }
        if (c == '#') {
            break;
        }
        if (c == ' ' || c == '\t' || c == '\r') {
            if (inToken) {
                AddToken(token, out);
            }
            token.clear();
            inToken = false;
            continue;
        }
        inToken = true;
        if (c == '"') {
            inQuotes = true;
        } else {
            token += c;
        }
    }
    if (inQuotes) {
        error = "unterminated quote";
        return false;
    }
    if (inToken) {
        AddToken(token, out);
    }
    for (size_t i = 0; i < out.fields.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            if (out.fields[i].first == out.fields[j].first) {
                error = "key '" + out.fields[i].first + "' given twice";
                return false;
            }
        }
    }
    return true;
}

bool ParseMacAddress(std::string_view text, MacAddress& address) {
    MacAddress parsed{};
    size_t pos = 0;
    for (size_t byte = 0; byte < parsed.size(); ++byte) {
        if (byte > 0 && pos < text.size() && (text[pos] == ':' || text[pos] == '-')) {
            ++pos;
        }
        if (pos + 2 > text.size()) {
            return false;
        }
        const int hi = HexDigitValue(text[pos]);
        const int lo = HexDigitValue(text[pos + 1]);
        if (hi < 0 || lo < 0) {
            return false;
        }
        parsed[byte] = static_cast<uint8_t>(hi * 16 + lo);
        pos += 2;
    }
    if (pos != text.size()) {
        return false;
    }
    address = parsed;
    return true;
}

std::string FormatMacAddress(const MacAddress& address) {
    char text[13];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x%02x%02x", address[0], address[1], address[2],
                  address[3], address[4], address[5]);
    return text;
}

bool ParseInteger(std::string_view text, long long min, long long max, long long& value) {
    if (text.empty() || text.size() > 24) {
        return false;
    }
    const std::string copy(text);
    errno = 0;
    char* end = nullptr;
    const long long v = std::strtoll(copy.c_str(), &end, 10);
    if (errno != 0 || end != copy.c_str() + copy.size()) {
        return false;
    }
    if (v < min || v > max) {
        return false;
    }
    value = v;
    return true;
}

bool ParseReal(std::string_view text, double min, double max, double& value) {
    if (text.empty() || text.size() > 32) {
        return false;
    }
    const std::string copy(text);
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(copy.c_str(), &end);
    if (errno != 0 || end != copy.c_str() + copy.size() || !std::isfinite(v)) {
        return false;
    }
    if (v < min || v > max) {
        return false;
    }
    value = v;
    return true;
}

FieldReader::FieldReader(const LineTokens& tokens)
    : tokens_(tokens), used_(tokens.fields.size(), false) {}

bool FieldReader::Has(const char* key) const {
    for (const auto& field : tokens_.fields) {
        if (field.first == key) {
            return true;
        }
    }
    return false;
}

const std::string* FieldReader::Find(const char* key) {
    for (size_t i = 0; i < tokens_.fields.size(); ++i) {
        if (tokens_.fields[i].first == key) {
            used_[i] = true;
            found_ = true;
            return &tokens_.fields[i].second;
        }
    }
    found_ = false;
    return nullptr;
}

bool FieldReader::IntegerValue(const char* key, long long min, long long max, long long& value,
                               std::string& error) {
    const std::string* text = Find(key);
    if (!text) {
        return true;
    }
    if (!ParseInteger(*text, min, max, value)) {
        error = std::string(key) + " must be a whole number from " + std::to_string(min) + " to " +
                std::to_string(max);
        return false;
    }
    return true;
}

bool FieldReader::Real(const char* key, double min, double max, double& value, std::string& error) {
    const std::string* text = Find(key);
    if (!text) {
        return true;
    }
    if (!ParseReal(*text, min, max, value)) {
        char range[96];
        std::snprintf(range, sizeof range, " must be a number from %g to %g", min, max);
        error = std::string(key) + range;
        return false;
    }
    return true;
}

bool FieldReader::Text(const char* key, size_t maxLength, std::string& value, std::string& error) {
    const std::string* text = Find(key);
    if (!text) {
        return true;
    }
    if (text->size() > maxLength) {
        error = std::string(key) + " is longer than " + std::to_string(maxLength) + " characters";
        return false;
    }
    value = *text;
    return true;
}

bool FieldReader::Address(const char* key, MacAddress& value, std::string& error) {
    const std::string* text = Find(key);
    if (!text) {
        return true;
    }
    if (!ParseMacAddress(*text, value)) {
        error = std::string(key) + " must be a node address of 12 hexadecimal digits";
        return false;
    }
    return true;
}

bool FieldReader::Flag(const char* key, bool& value, std::string& error) {
    const std::string* text = Find(key);
    if (!text) {
        return true;
    }
    if (*text == "yes" || *text == "on" || *text == "1") {
        value = true;
    } else if (*text == "no" || *text == "off" || *text == "0") {
        value = false;
    } else {
        error = std::string(key) + " must be yes or no";
        return false;
    }
    return true;
}

std::string FieldReader::FirstUnused() const {
    for (size_t i = 0; i < used_.size(); ++i) {
        if (!used_[i]) {
            return tokens_.fields[i].first;
        }
    }
    return {};
}

}  // namespace vz
