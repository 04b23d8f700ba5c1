// Table rows padded to their columns' widths, two spaces between columns.
#include "vzsurvey/output/table_sink.h"

#include <algorithm>
#include <string>

#include "vzsurvey/output/shown_value.h"

namespace vz {
namespace {

constexpr char kGap[] = "  ";

std::string CellText(const Value& value, int decimals) {
    return ReadableText(value, decimals, PrintableText);
}

std::string Padded(const std::string& text, const Column& column) {
    const size_t width = static_cast<size_t>(column.width);
    if (text.size() >= width) {
        return text;
    }
    const std::string padding(width - text.size(), ' ');
    return column.align == Align::kLeft ? text + padding : padding + text;
}

// One line of cells, without the trailing blanks of a left-aligned last column.
template <typename CellOf>
void PrintLine(std::ostream& out, const CommandLayout& layout, CellOf cellOf) {
    std::string line;
    for (const Column& column : layout.columns) {
        if (!line.empty()) {
            line += kGap;
        }
        line += Padded(cellOf(column), column);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n' << std::flush;
}

}  // namespace

void TableSink::Begin(SurveyCommand command, std::int64_t startedMs) {
    layout_ = &LayoutOf(command);
    if (layout_->columns.empty()) {
        return;
    }
    PrintLine(out_, *layout_, [](const Column& column) { return std::string(column.heading); });
}

void TableSink::Record(const vz::Record& record) {
    PrintLine(out_, *layout_, [&record](const Column& column) {
        return CellText(FieldValue(record, column.name), column.decimals);
    });
}

void TableSink::End(const vz::Record& summary, std::int64_t endedMs) {
    if (!layout_->columns.empty()) {
        out_ << '\n';
    }
    size_t nameWidth = 0;
    for (const SummaryField& field : layout_->summary) {
        nameWidth = std::max(nameWidth, field.name.size());
    }
    for (const SummaryField& field : layout_->summary) {
        const std::string label = std::string(field.name) + ":";
        out_ << label << std::string(nameWidth + 2 - label.size(), ' ')
             << CellText(FieldValue(summary, field.name), field.decimals) << '\n';
    }
    out_ << std::flush;
}

}  // namespace vz
