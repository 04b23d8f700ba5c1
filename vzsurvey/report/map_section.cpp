// The map's HTML and the data its script paints the heatmaps from.
#include "vzsurvey/report/map_section.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "vzsurvey/output/json_fields.h"
#include "vzsurvey/output/shown_value.h"
#include "vzsurvey/report/base64.h"
#include "vzsurvey/report/colour_scale.h"
#include "vzsurvey/report/coverage.h"
#include "vzsurvey/report/heat_grid.h"
#include "vzsurvey/report/metric.h"
#include "vzsurvey/report/page_text.h"
#include "vzsurvey/report/survey_area.h"

namespace vz {
namespace {

constexpr int kLegendStops = 8;

struct WalkMaster {
    std::string address;
    std::string name;
};

// The Masters the points were synchronised to, in the order the walk first met them.
std::vector<WalkMaster> MastersOf(std::span<const WalkPoint> points) {
    std::vector<WalkMaster> masters;
    for (const WalkPoint& point : points) {
        if (point.masterAddress.empty()) {
            continue;
        }
        auto known = std::find_if(masters.begin(), masters.end(), [&point](const auto& master) {
            return master.address == point.masterAddress;
        });
        if (known == masters.end()) {
            masters.push_back({point.masterAddress, point.masterName});
        } else if (known->name.empty()) {
            known->name = point.masterName;
        }
    }
    return masters;
}

std::vector<Sample> SamplesOf(std::span<const WalkPoint> points, const std::string& master,
                              ReportMetric metric) {
    std::vector<Sample> samples;
    for (const WalkPoint& point : points) {
        const std::optional<double> reading = ReadingOf(point, metric);
        if (reading && point.masterAddress == master) {
            samples.push_back({point.x, point.y, *reading});
        }
    }
    return samples;
}

// The scale of `metric` over every reading of the walk, so every Master's heatmap shares it;
// none when no point has a reading of it.
std::optional<HeatScale> ScaleOf(std::span<const WalkPoint> points, ReportMetric metric,
                                 const ReportRequest& request) {
    std::optional<HeatScale> scale;
    for (const WalkPoint& point : points) {
        if (const std::optional<double> reading = ReadingOf(point, metric)) {
            if (!scale) {
                scale = HeatScale{*reading, *reading, std::nullopt, FactsOf(metric).lowerIsBetter};
            }
            scale->lowest = std::min(scale->lowest, *reading);
            scale->highest = std::max(scale->highest, *reading);
        }
    }
    if (scale && metric == request.metric) {
        scale->threshold = request.threshold;
    }
    return scale;
}

Json ColourJson(Rgb colour) {
    return Json::array({colour.red, colour.green, colour.blue});
}

Json HeatData(std::span<const WalkPoint> points, const std::vector<WalkMaster>& masters,
              const HeatGrid& grid, double radius, const ReportRequest& request) {
    Json palette = Json::array();
    for (int code = 0; code < kScaleCodes; ++code) {
        palette.push_back(ColourJson(ScaleColour(code / double(kScaleCodes - 1))));
    }
    Json data{{"palette", palette},
              {"grey", ColourJson(kWorseThanThresholdGrey)},
              {"metrics", Json::object()},
              {"heat", Json::object()}};
    for (const ReportMetric metric : kReportMetrics) {
        const MetricFacts& facts = FactsOf(metric);
        const std::string name(facts.name);
        const std::optional<HeatScale> scale = ScaleOf(points, metric, request);
        if (!scale) {
            data["metrics"][name] = nullptr;
            continue;
        }
        data["metrics"][name] = {
            {"unit", facts.unit},
            {"lowest", JsonValue(scale->lowest, 1)},
            {"highest", JsonValue(scale->highest, 1)},
            {"threshold", scale->threshold ? JsonValue(*scale->threshold, 1) : Json()},
            {"worse", facts.lowerIsBetter ? "above" : "below"}};
        for (const WalkMaster& master : masters) {
            const std::vector<Sample> samples = SamplesOf(points, master.address, metric);
            if (!samples.empty()) {
                data["heat"][master.address][name] =
                    Base64(HeatCells(grid, samples, radius, *scale));
            }
        }
    }
    return data;
}

std::string Selectors(const std::vector<WalkMaster>& masters, ReportMetric chosen) {
    std::string html = "<div class=\"controls\"><label>Master <select id=\"master\">";
    for (const WalkMaster& master : masters) {
        html += "<option value=\"" + master.address + "\">" +
                Html(master.name.empty() ? "(no name)" : master.name) + " " + master.address +
                "</option>";
    }
    html += "</select></label> <label>Figure <select id=\"metric\">";
    for (const ReportMetric metric : kReportMetrics) {
        const MetricFacts& facts = FactsOf(metric);
        html += "<option value=\"" + std::string(facts.name) + "\"" +
                (metric == chosen ? " selected" : "") + ">" + std::string(facts.title) +
                "</option>";
    }
    return html + "</select></label></div>\n";
}

std::string Legend() {
    std::string gradient;
    for (int stop = 0; stop <= kLegendStops; ++stop) {
        gradient += (stop ? "," : "") + CssColour(ScaleColour(stop / double(kLegendStops)));
    }
    return "<div class=\"legend\"><span id=\"scale-low\"></span><span class=\"bar\" "
           "style=\"background:linear-gradient(to right," +
           gradient +
           ")\"></span><span id=\"scale-high\"></span><span class=\"swatch\" style=\""
           "background:" +
           CssColour(kWorseThanThresholdGrey) +
           "\"></span><span id=\"threshold-note\"></span><span id=\"coverage-note\"></span>"
           "</div>\n";
}

std::string PlainGrid(const SurveyArea& area, const std::string& size) {
    std::string svg = "<svg class=\"underlay\" " + size + ">";
    for (double at = 0; at <= std::max(area.width, area.height); at += area.gridStep) {
        const std::string shown = ShortNumberText(at * area.scale, 1);
        const std::string label = ShortNumberText(at, 3);
        if (at <= area.width) {
            svg += "<line x1=\"" + shown + "\" y1=\"0\" x2=\"" + shown +
                   "\" y2=\"100%\"/><text x=\"" + shown + "\" y=\"10\">" + label + "</text>";
        }
        if (at <= area.height) {
            svg += "<line x1=\"0\" y1=\"" + shown + "\" x2=\"100%\" y2=\"" + shown +
                   "\"/><text x=\"2\" y=\"" + shown + "\">" + label + "</text>";
        }
    }
    return svg + "</svg>";
}

std::string ReadingHtml(const WalkPoint& point, ReportMetric metric) {
    const MetricFacts& facts = FactsOf(metric);
    const std::optional<double> reading = ReadingOf(point, metric);
    return "<tspan class=\"m-" + std::string(facts.name) + "\"> " +
           (reading ? ShortNumberText(*reading, 1) + " " + std::string(facts.unit) : "-") +
           "</tspan>";
}

std::string Markers(std::span<const WalkPoint> points, const SurveyArea& area,
                    const std::string& size) {
    std::string svg = "<svg class=\"marks\" " + size + ">";
    for (const WalkPoint& point : points) {
        const double x = point.x * area.scale;
        const double y = point.y * area.scale;
        svg += "<g class=\"point\" data-master=\"" + point.masterAddress + "\"><circle cx=\"" +
               ShortNumberText(x, 1) + "\" cy=\"" + ShortNumberText(y, 1) +
               "\" r=\"5\"/><text x=\"" + ShortNumberText(x + 9, 1) + "\" y=\"" +
               ShortNumberText(y - 7, 1) + "\">" + Html(point.label);
        for (const ReportMetric metric : kReportMetrics) {
            svg += ReadingHtml(point, metric);
        }
        svg += "</text></g>";
    }
    return svg + "</svg>";
}

}  // namespace

std::string MapSection(std::span<const WalkPoint> points, const std::optional<PlanImage>& plan,
                       const ReportRequest& request) {
    const SurveyArea area = plan ? AreaOfPlan(plan->header) : AreaAroundPoints(points);
    const HeatGrid grid = GridOver(area.width, area.height);
    std::vector<Sample> positions;
    for (const WalkPoint& point : points) {
        positions.push_back({point.x, point.y, 0});
    }
    const double radius = CoverageRadius(positions, std::hypot(area.width, area.height));
    const std::vector<WalkMaster> masters = MastersOf(points);
    const std::string width = ShortNumberText(area.width * area.scale, 1);
    const std::string height = ShortNumberText(area.height * area.scale, 1);
    const std::string size = "width=\"" + width + "\" height=\"" + height + "\"";

    std::string html =
        "<section><h2>Coverage</h2>\n" + Selectors(masters, request.metric) + Legend();
    html += "<div id=\"map\" style=\"width:" + width + "px;height:" + height + "px\">";
    html += "<canvas id=\"heat\" width=\"" + std::to_string(grid.columns) + "\" height=\"" +
            std::to_string(grid.rows) + "\"></canvas>";
    html += plan ? "<img id=\"plan\" class=\"underlay\" alt=\"The floor plan\" " + size +
                       " src=\"" + PlanDataUri(*plan) + "\">"
                 : PlainGrid(area, size);
    html += Markers(points, area, size) + "</div>\n";
    html +=
        "<p class=\"note\">A Master's heatmap is drawn from the points where the card was "
        "synchronised to it, each reading weighted by one over its squared distance, up to " +
        ShortNumberText(radius, 1) +
        " plan pixels from the nearest point: twice the median "
        "spacing of the points, or a twentieth of the " +
        (plan ? "plan" : "grid") + "'s diagonal if more.</p>\n";
    return html + "<script type=\"application/json\" id=\"heat-data\">" +
           JsonText(HeatData(points, masters, grid, radius, request), -1) + "</script></section>\n";
}

}  // namespace vz
