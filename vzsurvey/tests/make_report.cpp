// vzsurvey's report command on its own, for the page checks: "make_report report WALK ...".
#include <iostream>

#include "vzsurvey/command_line/parse_command_line.h"
#include "vzsurvey/report/run_report.h"

int main(int argc, char** argv) {
    const auto parsed = vz::ParseCommandLine({argv + 1, argv + argc});
    const auto* request = std::get_if<vz::Request>(&parsed);
    if (request == nullptr || request->command != vz::SurveyCommand::kReport) {
        std::cerr << "usage: make_report report WALK.jsonl ... --out REPORT.html\n";
        return int(vz::Verdict::kUnknown);
    }
    return int(vz::RunReport(request->report, std::cout, std::cerr));
}
