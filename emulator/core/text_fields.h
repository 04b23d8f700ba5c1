// Splitting a scenario or control line into words and key=value fields, and reading them typed.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vz {

using MacAddress = std::array<uint8_t, 6>;

constexpr size_t kMaxLineLength = 1024;

struct LineTokens {
    std::vector<std::string> words;                           // in order, fields excluded
    std::vector<std::pair<std::string, std::string>> fields;  // key=value, in order
};

// Whitespace separates tokens; "double quotes" keep blanks (\" and \\ escape inside them); '#'
// outside quotes starts a comment. A token whose text before '=' is a plain lower-case name is
// a field. Fails on an unterminated quote, a control character, a repeated key or a line
// longer than kMaxLineLength.
bool TokenizeLine(std::string_view line, LineTokens& out, std::string& error);

// Twelve hexadecimal digits, optionally in pairs separated by ':' or '-'.
bool ParseMacAddress(std::string_view text, MacAddress& address);
std::string FormatMacAddress(const MacAddress& address);

// Strict number parsing: the whole text must be the number and lie in [min, max].
bool ParseInteger(std::string_view text, long long min, long long max, long long& value);
bool ParseReal(std::string_view text, double min, double max, double& value);

// Typed access to the fields of one line. Getters leave `value` alone when the key is absent and
// return false with `error` set when the value is malformed or out of range.
class FieldReader {
  public:
    explicit FieldReader(const LineTokens& tokens);

    bool Has(const char* key) const;
    template <typename T>
    bool Integer(const char* key, long long min, long long max, T& value, std::string& error) {
        long long v = 0;
        if (!IntegerValue(key, min, max, v, error)) {
            return false;
        }
        if (found_) {
            value = static_cast<T>(v);
        }
        return true;
    }
    bool Real(const char* key, double min, double max, double& value, std::string& error);
    bool Text(const char* key, size_t maxLength, std::string& value, std::string& error);
    bool Address(const char* key, MacAddress& value, std::string& error);
    bool Flag(const char* key, bool& value, std::string& error);
    // The first key no getter asked for, or empty.
    std::string FirstUnused() const;

  private:
    const std::string* Find(const char* key);
    bool IntegerValue(const char* key, long long min, long long max, long long& value,
                      std::string& error);

    const LineTokens& tokens_;
    std::vector<bool> used_;
    bool found_ = false;
};

}  // namespace vz
