// A row per point, and a row per link test with the link command's summary fields.
#include "vzsurvey/report/point_tables.h"

#include <algorithm>

#include "vzsurvey/output/layout.h"
#include "vzsurvey/output/shown_value.h"
#include "vzsurvey/report/metric.h"
#include "vzsurvey/report/page_text.h"

namespace vz {
namespace {

std::string Cell(const std::string& html) {
    return "<td>" + html + "</td>";
}

std::string TextCell(const std::string& html) {
    return "<td class=\"text\">" + html + "</td>";
}

std::string ReadingCell(const WalkPoint& point, ReportMetric metric) {
    const std::optional<double> reading = ReadingOf(point, metric);
    return Cell(reading ? ShortNumberText(*reading, 1) : "-");
}

// The nodes heard at the point, folded away under their count.
std::string NodesCell(const WalkPoint& point) {
    int heard = 0;
    std::string rows;
    for (const WalkNode& node : point.nodes) {
        heard += node.heard ? 1 : 0;
        rows += "<tr>" + TextCell(node.address) + TextCell(Html(node.masterName)) +
                Cell(std::to_string(node.signalPercent)) + Cell(std::to_string(node.linkQuality)) +
                TextCell(node.heard ? "yes" : "no") + "</tr>";
    }
    return TextCell("<details><summary>" + std::to_string(heard) + " of " +
                    std::to_string(point.nodes.size()) +
                    "</summary><table><tr><th>Address</th><th>Master</th><th>Signal %</th>"
                    "<th>Quality</th><th>Heard</th></tr>" +
                    rows + "</table></details>");
}

}  // namespace

std::string PointsSection(std::span<const WalkPoint> points) {
    std::string html =
        "<section><h2>Points</h2><table><tr><th>#</th><th>Label</th><th>X</th><th>Y</th>"
        "<th>Time</th><th>Master</th><th>Signal %</th><th>Quality</th><th>Latency ms</th>"
        "<th>Nodes heard</th></tr>\n";
    for (size_t i = 0; i < points.size(); ++i) {
        const WalkPoint& point = points[i];
        const std::string master = point.masterAddress.empty()
                                       ? "none"
                                       : Html(point.masterName) + " " + point.masterAddress;
        html += "<tr>" + Cell(std::to_string(i + 1)) + TextCell(Html(point.label)) +
                Cell(ShortNumberText(point.x, 2)) + Cell(ShortNumberText(point.y, 2)) +
                TextCell(Html(point.time)) + TextCell(master) +
                ReadingCell(point, ReportMetric::kSignal) +
                ReadingCell(point, ReportMetric::kQuality) +
                ReadingCell(point, ReportMetric::kLatency) + NodesCell(point) + "</tr>\n";
    }
    return html + "</table></section>\n";
}

std::string LinkTestsSection(std::span<const WalkPoint> points) {
    const auto fields = LayoutOf(SurveyCommand::kLink).summary;
    std::string rows;
    for (const WalkPoint& point : points) {
        if (!point.link) {
            continue;
        }
        rows += "<tr>" + TextCell(Html(point.label));
        for (const SummaryField& field : fields) {
            rows += Cell(ValueHtml(FieldValue(*point.link, field.name), field.decimals));
        }
        rows += "</tr>\n";
    }
    if (rows.empty()) {
        return "<section><h2>Link tests</h2><p>No link test was taken on this "
               "walk.</p></section>\n";
    }
    std::string html = "<section><h2>Link tests</h2><table><tr><th>Point</th>";
    for (const SummaryField& field : fields) {
        std::string heading(field.name);
        std::replace(heading.begin(), heading.end(), '_', ' ');
        html += "<th>" + heading + "</th>";
    }
    return html + "</tr>\n" + rows + "</table></section>\n";
}

}  // namespace vz
