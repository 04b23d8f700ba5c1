// vzsurvey's report command on its own, for the page checks: "make_report report WALK ...".
#include <iostream>

#include "vzsurvey/command_line/parse_command_line.h"
#include "vzsurvey/report/run_report.h"

int main(int argc, char** argv) {
    const auto parsed = vz::ParseCommandLine({argv + 1, argv + argc});
    if (const auto* exit = std::get_if<vz::CommandLineExit>(&parsed)) {
        (exit->status == vz::Verdict::kOk ? std::cout : std::cerr) << exit->text;
        return int(exit->status);
    }
    const vz::Request& request = std::get<vz::Request>(parsed);
    if (request.command != vz::SurveyCommand::kReport) {
        std::cerr << "make_report: only the report command\n";
        return int(vz::Verdict::kUnknown);
    }
    return int(vz::RunReport(request.report, std::cout, std::cerr));
}
