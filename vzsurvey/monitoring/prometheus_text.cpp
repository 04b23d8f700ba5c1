// The exposition text: HELP, TYPE and sample of each figure.
#include "vzsurvey/monitoring/prometheus_text.h"

#include "vzsurvey/output/layout.h"
#include "vzsurvey/output/shown_value.h"

namespace vz {
namespace {

// A label value with its backslashes, quotes and line feeds escaped.
std::string EscapedLabelValue(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '\\' || c == '"') {
            escaped += '\\';
            escaped += c;
        } else if (c == '\n') {
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string NodeLabel(const CommandLayout& layout, const Record& summary) {
    const std::string* node = std::get_if<std::string>(&FieldValue(summary, layout.nodeField));
    if (!node) {
        return "";
    }
    return "{node=\"" + EscapedLabelValue(*node) + "\"}";
}

}  // namespace

std::string PrometheusText(SurveyCommand command, const Record& summary) {
    const CommandLayout& layout = LayoutOf(command);
    const std::string labels = NodeLabel(layout, summary);
    std::string text;
    for (const SummaryField& field : layout.summary) {
        const std::optional<double> figure = NumberOf(FieldValue(summary, field.name));
        if (!figure) {
            continue;
        }
        const std::string metric =
            "vezurez_" + std::string(CommandName(command)) + "_" + std::string(field.name);
        text += "# HELP " + metric + " " + std::string(field.help) + "\n";
        text += "# TYPE " + metric + " gauge\n";
        text += metric + labels + " " + ShortNumberText(*figure, field.decimals) + "\n";
    }
    return text;
}

}  // namespace vz
