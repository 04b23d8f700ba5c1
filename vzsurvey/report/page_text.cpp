// Escaping and the page's number formats.
#include "vzsurvey/report/page_text.h"

#include "vzsurvey/output/shown_value.h"

namespace vz {

std::string Html(std::string_view text) {
    std::string html;
    for (const char c : PrintableText(text)) {
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            case '\'':
                html += "&#39;";
                break;
            default:
                html += c;
        }
    }
    return html;
}

std::string ValueHtml(const Value& value, int decimals) {
    return ReadableText(value, decimals, Html);
}

std::string CssColour(Rgb colour) {
    return "rgb(" + std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
           std::to_string(colour.blue) + ")";
}

}  // namespace vz
