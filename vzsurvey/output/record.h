// One record of vzsurvey's output: an ordered list of named fields, each null, a flag, a whole
// number, a measured figure or a text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vz {

using Value = std::variant<std::monostate, bool, std::int64_t, double, std::string>;

struct Field {
    std::string name;
    Value value;
};

struct Record {
    std::vector<Field> fields;
};

// The value of the field named `name`; null when the record has no such field.
const Value& FieldValue(const Record& record, std::string_view name);

// A flag, whole number or finite figure as a number (true is 1); none for null, texts and a
// figure that is not finite.
std::optional<double> NumberOf(const Value& value);

}  // namespace vz
