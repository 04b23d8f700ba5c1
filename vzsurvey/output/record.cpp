// Looking a field up by name, and reading a value as a number.
#include "vzsurvey/output/record.h"

#include <cmath>

namespace vz {

const Value& FieldValue(const Record& record, std::string_view name) {
    static const Value kNull;
    for (const Field& field : record.fields) {
        if (field.name == name) {
            return field.value;
        }
    }
    return kNull;
}

std::optional<double> NumberOf(const Value& value) {
    if (const bool* flag = std::get_if<bool>(&value)) {
        return *flag ? 1.0 : 0.0;
    }
    if (const std::int64_t* whole = std::get_if<std::int64_t>(&value)) {
        return static_cast<double>(*whole);
    }
    if (const double* figure = std::get_if<double>(&value); figure && std::isfinite(*figure)) {
        return *figure;
    }
    return std::nullopt;
}

}  // namespace vz
