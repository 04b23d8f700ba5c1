// Converting values to JSON and JSON to text.
#include "vzsurvey/output/json_fields.h"

#include "vzsurvey/output/shown_value.h"

namespace vz {

Json JsonValue(const Value& value, int decimals) {
    return std::visit(
        [](const auto& shown) -> Json {
            if constexpr (std::is_same_v<std::decay_t<decltype(shown)>, std::monostate>) {
                return nullptr;
            } else {
                return shown;
            }
        },
        ShownValue(value, decimals));
}

std::string JsonText(const Json& json, int indent) {
    return json.dump(indent, ' ', false, Json::error_handler_t::replace);
}

}  // namespace vz
