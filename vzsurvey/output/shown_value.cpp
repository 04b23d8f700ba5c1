// Rounding figures and making texts printable.
#include "vzsurvey/output/shown_value.h"

#include <cmath>
#include <cstdio>

namespace vz {
namespace {

constexpr int kMaxDecimals = 9;
// Beyond this a double holds no fraction worth rounding, and scaling it could overflow.
constexpr double kLargestRounded = 1e15;

int Places(int decimals) {
    return decimals < 0 ? 0 : (decimals > kMaxDecimals ? kMaxDecimals : decimals);
}

double Rounded(double figure, int decimals) {
    if (std::fabs(figure) >= kLargestRounded) {
        return figure;
    }
    const double scale = std::pow(10.0, Places(decimals));
    // Adding zero turns a rounded -0 into 0.
    return std::round(figure * scale) / scale + 0.0;
}

}  // namespace

Value ShownValue(const Value& value, int decimals) {
    const double* figure = std::get_if<double>(&value);
    if (!figure) {
        return value;
    }
    if (!std::isfinite(*figure)) {
        return std::monostate{};
    }
    return Rounded(*figure, decimals);
}

std::string FixedText(double figure, int decimals) {
    const int places = Places(decimals);
    const double rounded = Rounded(figure, places);
    const int length = std::snprintf(nullptr, 0, "%.*f", places, rounded);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.*f", places, rounded);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string ShortNumberText(double figure, int decimals) {
    std::string text = FixedText(figure, decimals);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return text;
}

std::string PrintableText(std::string_view text) {
    std::string printable(text);
    for (char& c : printable) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            c = '?';
        }
    }
    return printable;
}

std::string ReadableText(const Value& value, int decimals,
                         std::string (*textOf)(std::string_view text)) {
    const Value shown = ShownValue(value, decimals);
    if (const bool* flag = std::get_if<bool>(&shown)) {
        return *flag ? "yes" : "no";
    }
    if (const std::int64_t* whole = std::get_if<std::int64_t>(&shown)) {
        return std::to_string(*whole);
    }
    if (const double* figure = std::get_if<double>(&shown)) {
        return FixedText(*figure, decimals);
    }
    if (const std::string* text = std::get_if<std::string>(&shown)) {
        return textOf(*text);
    }
    return "-";
}

}  // namespace vz
