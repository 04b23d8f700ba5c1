// The page's head, its opening facts and its sections in order.
#include "vzsurvey/report/report_page.h"

#include <filesystem>

#include "vzsurvey/report/map_section.h"
#include "vzsurvey/report/page_assets.h"
#include "vzsurvey/report/page_text.h"
#include "vzsurvey/report/point_tables.h"
#include "vzsurvey/report/spectrum_section.h"

namespace vz {
namespace {

std::string WalkFacts(const WalkReading& walk, const std::string& walkName) {
    std::string html = "<p>" + std::to_string(walk.points.size()) + " points from " + walkName;
    if (!walk.skipped.empty()) {
        html += ", " + std::to_string(walk.skipped.size()) + " malformed lines of it left out";
    }
    if (!walk.header) {
        return html + ". The walk's first line is missing: the card is not known.</p>\n";
    }
    html += ". The walk started " + Html(walk.header->started) + ", measured by vzsurvey " +
            Html(walk.header->version) + ".</p>\n<table><tr>";
    for (const Field& field : walk.header->card.fields) {
        html += "<th>" + Html(field.name) + "</th>";
    }
    html += "</tr><tr>";
    for (const Field& field : walk.header->card.fields) {
        html += "<td class=\"text\">" + ValueHtml(field.value, 0) + "</td>";
    }
    return html + "</tr></table>\n";
}

}  // namespace

std::string ReportPage(const WalkReading& walk, const std::optional<PlanImage>& plan,
                       const ReportRequest& request) {
    const std::string walkName = Html(std::filesystem::path(request.walk).filename().string());
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Site survey: " +
           walkName + "</title>\n<style>" + kPageStyle + "</style></head>\n<body>\n" +
           "<p id=\"page-error\"></p><h1>Site survey</h1>\n" + WalkFacts(walk, walkName) +
           MapSection(walk.points, plan, request) + PointsSection(walk.points) +
           LinkTestsSection(walk.points) + SpectrumSection(walk.points) + "<script>" + kPageScript +
           "</script>\n</body></html>\n";
}

}  // namespace vz
