// The report's checks in order: the walk has points, the plan is an image and holds every point;
// then the page replaces its file whole, or nothing is left behind.
#include "vzsurvey/report/run_report.h"

#include <fstream>

#include "vzsurvey/monitoring/replace_file.h"
#include "vzsurvey/output/shown_value.h"
#include "vzsurvey/report/report_page.h"

namespace vz {
namespace {

// The first point beyond the plan's right or bottom edge, told; none when all lie on it.
std::optional<std::string> PointOffPlan(const std::vector<WalkPoint>& points,
                                        const ImageHeader& plan) {
    for (size_t i = 0; i < points.size(); ++i) {
        const WalkPoint& point = points[i];
        if (point.x > plan.width || point.y > plan.height) {
            return "point " + std::to_string(i + 1) + " (" + PrintableText(point.label) + ") at " +
                   ShortNumberText(point.x, 2) + "," + ShortNumberText(point.y, 2) +
                   " lies outside the plan of " + std::to_string(plan.width) + " by " +
                   std::to_string(plan.height) + " pixels";
        }
    }
    return std::nullopt;
}

}  // namespace

Verdict RunReport(const ReportRequest& request, std::ostream& out, std::ostream& err) {
    const auto fail = [&err](const std::string& why) {
        err << "vzsurvey: " << why << '\n';
        return Verdict::kUnknown;
    };
    std::ifstream in(request.walk, std::ios::binary);
    if (!in) {
        return fail("cannot read the walk " + request.walk);
    }
    const WalkReading walk = ReadWalk(in);
    for (const std::string& skipped : walk.skipped) {
        err << "vzsurvey: " << request.walk << ": " << skipped << ", skipped\n";
    }
    if (walk.points.empty()) {
        return fail("the walk " + request.walk + " has no points");
    }
    std::optional<PlanImage> plan;
    if (request.plan) {
        auto loaded = LoadPlan(*request.plan);
        if (const auto* why = std::get_if<std::string>(&loaded)) {
            return fail(*why);
        }
        plan = std::get<PlanImage>(std::move(loaded));
        if (const auto off = PointOffPlan(walk.points, plan->header)) {
            return fail(*off);
        }
    }
    const std::string page = ReportPage(walk, plan, request);
    if (const auto failure = ReplaceFileContents(request.out, page)) {
        return fail("cannot write " + request.out + ": " + *failure);
    }
    out << request.out << ": " << page.size() << " bytes\n";
    return Verdict::kOk;
}

}  // namespace vz
