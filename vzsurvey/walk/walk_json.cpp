// Writing the walk's lines, and reading them back without trusting a single field.
#include "vzsurvey/walk/walk_json.h"

#include <algorithm>
#include <cstdint>

#include "engines/node_table.h"
#include "vzsurvey/output/layout.h"
#include "vzsurvey/output/shown_value.h"

namespace vz {
namespace {

constexpr size_t kAddressDigits = 12;
constexpr int kFrequencyDecimals = 3;
constexpr int kAverageDecimals = 1;
constexpr int kMaxPercent = 100;
constexpr int kMaxLinkQuality = 5;
constexpr double kLargestCoordinate = 1e7;
constexpr size_t kMostFrequencies = 256;

Json TextOrNull(const std::string& text) {
    return text.empty() ? Json(nullptr) : Json(text);
}

Json SummaryJson(SurveyCommand command, const Record& record) {
    Json object = Json::object();
    AddJsonFields(object, LayoutOf(command).summary, record);
    return object;
}

Json ListJson(const std::vector<double>& figures, int decimals) {
    Json list = Json::array();
    for (const double figure : figures) {
        list.push_back(JsonValue(figure, decimals));
    }
    return list;
}

Json SpectrumJson(const WalkSpectrum& spectrum) {
    return Json{{"frequency_ghz", ListJson(spectrum.frequencyGhz, kFrequencyDecimals)},
                {"average_percent", ListJson(spectrum.averagePercent, kAverageDecimals)},
                {"peak_hold_percent", spectrum.peakHoldPercent},
                {"minimum_hold_percent", spectrum.minimumHoldPercent}};
}

// Thrown by the readers below with what is wrong with the line.
struct BadLine {
    std::string reason;
};

const Json& Member(const Json& object, const std::string& name) {
    const auto found = object.find(name);
    if (found == object.end()) {
        throw BadLine{"no " + name};
    }
    return *found;
}

double NumberIn(const Json& value, const std::string& name, double low, double high) {
    if (!value.is_number() || !(value.get<double>() >= low && value.get<double>() <= high)) {
        throw BadLine{name + " is not a number from " + ShortNumberText(low, 0) + " to " +
                      ShortNumberText(high, 0)};
    }
    return value.get<double>();
}

int WholeNumberIn(const Json& value, const std::string& name, int low, int high) {
    if (!value.is_number_integer()) {
        throw BadLine{name + " is not a whole number"};
    }
    return static_cast<int>(NumberIn(value, name, low, high));
}

std::string Text(const Json& value, const std::string& name) {
    if (!value.is_string()) {
        throw BadLine{name + " is not a text"};
    }
    return value.get<std::string>();
}

// A text that may be null: empty then.
std::string TextOrEmpty(const Json& object, const std::string& name) {
    const Json& value = Member(object, name);
    return value.is_null() ? std::string() : Text(value, name);
}

std::string Address(const Json& value, const std::string& name) {
    const std::string address = Text(value, name);
    const bool digits = std::all_of(address.begin(), address.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    });
    if (address.size() != kAddressDigits || !digits) {
        throw BadLine{name + " is not 12 lower-case hex digits"};
    }
    return address;
}

bool Flag(const Json& value, const std::string& name) {
    if (!value.is_boolean()) {
        throw BadLine{name + " is not true or false"};
    }
    return value.get<bool>();
}

const Json& ObjectMember(const Json& object, const std::string& name) {
    const Json& value = Member(object, name);
    if (!value.is_object()) {
        throw BadLine{name + " is not an object"};
    }
    return value;
}

// A summary record: every member a null, flag, number or text, in the order written.
Record RecordFromJson(const Json& object, const std::string& name) {
    Record record;
    for (const auto& [field, value] : object.items()) {
        Value read;
        if (value.is_boolean()) {
            read = value.get<bool>();
        } else if (value.is_number_integer() && !value.is_number_unsigned()) {
            read = value.get<std::int64_t>();
        } else if (value.is_number()) {
            read = value.get<double>();
        } else if (value.is_string()) {
            read = value.get<std::string>();
        } else if (!value.is_null()) {
            throw BadLine{name + "." + field + " is not a value"};
        }
        record.fields.push_back({field, read});
    }
    return record;
}

WalkNode NodeFromJson(const Json& object) {
    if (!object.is_object()) {
        throw BadLine{"a node is not an object"};
    }
    WalkNode node;
    node.address = Address(Member(object, "address"), "node address");
    node.masterName = TextOrEmpty(object, "master_name");
    node.signalPercent =
        WholeNumberIn(Member(object, "signal_percent"), "signal_percent", 0, kMaxPercent);
    node.linkQuality =
        WholeNumberIn(Member(object, "link_quality"), "link_quality", 0, kMaxLinkQuality);
    node.heard = Flag(Member(object, "heard"), "heard");
    return node;
}

template <typename T>
std::vector<T> ListFromJson(const Json& object, const std::string& name, double low, double high) {
    const Json& list = Member(object, name);
    if (!list.is_array() || list.size() > kMostFrequencies) {
        throw BadLine{name + " is not a list of at most 256"};
    }
    std::vector<T> values;
    for (const Json& value : list) {
        values.push_back(static_cast<T>(std::is_integral_v<T>
                                            ? WholeNumberIn(value, name, low, high)
                                            : NumberIn(value, name, low, high)));
    }
    return values;
}

WalkSpectrum SpectrumFromJson(const Json& object) {
    constexpr double kHighestGhz = 100;
    WalkSpectrum spectrum;
    spectrum.frequencyGhz = ListFromJson<double>(object, "frequency_ghz", 0, kHighestGhz);
    spectrum.averagePercent = ListFromJson<double>(object, "average_percent", 0, kMaxPercent);
    spectrum.peakHoldPercent = ListFromJson<int>(object, "peak_hold_percent", 0, kMaxPercent);
    spectrum.minimumHoldPercent = ListFromJson<int>(object, "minimum_hold_percent", 0, kMaxPercent);
    const size_t count = spectrum.frequencyGhz.size();
    if (count == 0 || spectrum.averagePercent.size() != count ||
        spectrum.peakHoldPercent.size() != count || spectrum.minimumHoldPercent.size() != count) {
        throw BadLine{"the spectrum's lists are empty or of different lengths"};
    }
    return spectrum;
}

WalkHeader HeaderFromJson(const Json& line) {
    return {Text(Member(line, "version"), "version"), Text(Member(line, "started"), "started"),
            RecordFromJson(ObjectMember(line, "card"), "card")};
}

WalkPoint PointFromJson(const Json& line) {
    WalkPoint point;
    point.x = NumberIn(Member(line, "x"), "x", 0, kLargestCoordinate);
    point.y = NumberIn(Member(line, "y"), "y", 0, kLargestCoordinate);
    point.label = Text(Member(line, "label"), "label");
    point.time = Text(Member(line, "time"), "time");
    if (!Member(line, "master_address").is_null()) {
        point.masterAddress = Address(line["master_address"], "master_address");
    }
    point.masterName = TextOrEmpty(line, "master_name");
    const Json& nodes = Member(line, "nodes");
    if (!nodes.is_array() || nodes.size() > kNodeTableSize) {
        throw BadLine{"nodes is not a list of at most 100"};
    }
    for (const Json& node : nodes) {
        point.nodes.push_back(NodeFromJson(node));
    }
    if (!Member(line, "link").is_null()) {
        point.link = RecordFromJson(ObjectMember(line, "link"), "link");
    }
    if (!Member(line, "spectrum").is_null()) {
        point.spectrum = SpectrumFromJson(ObjectMember(line, "spectrum"));
    }
    return point;
}

}  // namespace

Json WalkHeaderJson(const WalkHeader& header) {
    return Json{{"type", "walk"},
                {"version", header.version},
                {"started", header.started},
                {"card", SummaryJson(SurveyCommand::kStatus, header.card)}};
}

Json WalkPointJson(const WalkPoint& point) {
    Json nodes = Json::array();
    for (const WalkNode& node : point.nodes) {
        nodes.push_back(Json{{"address", node.address},
                             {"master_name", TextOrNull(node.masterName)},
                             {"signal_percent", node.signalPercent},
                             {"link_quality", node.linkQuality},
                             {"heard", node.heard}});
    }
    return Json{{"type", "point"},
                {"x", point.x},
                {"y", point.y},
                {"label", point.label},
                {"time", point.time},
                {"master_address", TextOrNull(point.masterAddress)},
                {"master_name", TextOrNull(point.masterName)},
                {"nodes", nodes},
                {"link", point.link ? SummaryJson(SurveyCommand::kLink, *point.link) : Json()},
                {"spectrum", point.spectrum ? SpectrumJson(*point.spectrum) : Json()}};
}

std::variant<WalkHeader, WalkPoint, std::string> WalkLineFromJson(const Json& line) {
    try {
        if (!line.is_object()) {
            throw BadLine{"not a JSON object"};
        }
        const std::string type = Text(Member(line, "type"), "type");
        if (type == "walk") {
            return HeaderFromJson(line);
        }
        if (type == "point") {
            return PointFromJson(line);
        }
        throw BadLine{"type is neither walk nor point"};
    } catch (const BadLine& bad) {
        return bad.reason;
    }
}

}  // namespace vz
