// Values and records as JSON, shared by --json and --jsonl: figures are rounded to their decimals,
// missing values are null, and fields keep the order their command lists them in.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "vzsurvey/output/record.h"

namespace vz {

using Json = nlohmann::ordered_json;

Json JsonValue(const Value& value, int decimals);

// Adds to `object` the fields `fields` name (columns or summary fields), taken from `record`.
template <typename Fields>
void AddJsonFields(Json& object, const Fields& fields, const Record& record) {
    for (const auto& field : fields) {
        object[std::string(field.name)] = JsonValue(FieldValue(record, field.name), field.decimals);
    }
}

// The text of `json`, `indent` spaces a level or one line when negative. Bytes that are not UTF-8
// (a card's texts need not be) become U+FFFD instead of failing the output.
std::string JsonText(const Json& json, int indent);

}  // namespace vz
