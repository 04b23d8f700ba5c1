// CSV rows: null is an empty field, flags are true and false, a field with a comma, quote, CR or
// LF is quoted with its quotes doubled.
#include "vzsurvey/output/csv_sink.h"

#include <string>

#include "vzsurvey/output/shown_value.h"

namespace vz {
namespace {

std::string Quoted(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string CsvText(const Value& value, int decimals) {
    const Value shown = ShownValue(value, decimals);
    if (const bool* flag = std::get_if<bool>(&shown)) {
        return *flag ? "true" : "false";
    }
    if (const std::int64_t* whole = std::get_if<std::int64_t>(&shown)) {
        return std::to_string(*whole);
    }
    if (const double* figure = std::get_if<double>(&shown)) {
        return FixedText(*figure, decimals);
    }
    if (const std::string* text = std::get_if<std::string>(&shown)) {
        return Quoted(*text);
    }
    return "";
}

// The header or a row: `cellOf` gives each field of `fields`.
template <typename Fields, typename CellOf>
void PrintRow(std::ostream& out, const Fields& fields, CellOf cellOf) {
    const char* separator = "";
    for (const auto& field : fields) {
        out << separator << cellOf(field);
        separator = ",";
    }
    out << '\n' << std::flush;
}

}  // namespace

void CsvSink::Begin(SurveyCommand command, std::int64_t startedMs) {
    layout_ = &LayoutOf(command);
    const auto name = [](const auto& field) { return field.name; };
    if (layout_->columns.empty()) {
        PrintRow(out_, layout_->summary, name);
    } else {
        PrintRow(out_, layout_->columns, name);
    }
}

void CsvSink::Record(const vz::Record& record) {
    PrintRow(out_, layout_->columns, [&record](const Column& column) {
        return CsvText(FieldValue(record, column.name), column.decimals);
    });
}

void CsvSink::End(const vz::Record& summary, std::int64_t endedMs) {
    if (!layout_->columns.empty()) {
        return;
    }
    PrintRow(out_, layout_->summary, [&summary](const SummaryField& field) {
        return CsvText(FieldValue(summary, field.name), field.decimals);
    });
}

}  // namespace vz
