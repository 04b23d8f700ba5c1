// vzsurvey's run: nothing touches the card before the command line is sound and the card is free.
#include "vzsurvey/program/survey_program.h"

#include <variant>

#include "driver/card_control.h"
#include "driver/status_queries.h"
#include "settings/adapter_settings.h"
#include "vzsurvey/command_line/parse_command_line.h"
#include "vzsurvey/make_sink.h"
#include "vzsurvey/monitoring/prometheus_text.h"
#include "vzsurvey/monitoring/replace_file.h"
#include "vzsurvey/monitoring/rules.h"
#include "vzsurvey/report/run_report.h"

namespace vz {

namespace {

constexpr char kToolRunning[] =
    "the Site Survey & Configuration Tool is running and has the card; close it first";
constexpr char kCardHeld[] = "another vzsurvey is using the card";
constexpr char kNoDriver[] = "cannot reach the card's driver";
constexpr char kChannelLost[] = "the channel to the card's driver was lost";

int Unknown(std::ostream& err, const std::string& reason) {
    err << "vzsurvey: " << reason << '\n';
    return int(Verdict::kUnknown);
}

// The card as the tool's start-up leaves it for the measurements: initialised, its own and its
// Master's addresses known, its signal table built.
Status PrepareCard(ProgramContext& context) {
    AdapterSettings settings(context.registry, context.version);
    settings.Load();
    uint8_t synchronised = 0;
    return InitCard(context.driver, synchronised, 0, settings.Station_Type);
}

// As the tool gives the card back at its exit.
void GiveCardBack(Driver& driver) {
    if (driver.card.cardInitialised) {
        ReleaseCard(driver);
        CloseCard(driver);
    }
    CloseDriver(driver);
}

}  // namespace

int RunSurveyProgram(const std::vector<std::string>& args, ConsoleSeams& seams, std::ostream& out,
                     std::ostream& err) {
    const auto parsed = ParseCommandLine(args);
    if (const auto* exit = std::get_if<CommandLineExit>(&parsed)) {
        (exit->status == Verdict::kOk ? out : err) << exit->text;
        return int(exit->status);
    }
    const Request& request = std::get<Request>(parsed);
    if (request.command == SurveyCommand::kReport) {
        return int(RunReport(request.report, out, err));
    }
    if (seams.ToolRunning()) {
        return Unknown(err, kToolRunning);
    }
    if (!seams.HoldCard()) {
        return Unknown(err, kCardHeld);
    }
    ProgramContext* context = seams.Wire();
    if (context == nullptr || OpenDriver(context->driver) != Status::kOk) {
        return Unknown(err, kNoDriver);
    }
    Driver& driver = context->driver;
    if (request.command != SurveyCommand::kStatus &&
        PrepareCard(*context) == Status::kChannelLost) {
        GiveCardBack(driver);
        return Unknown(err, kChannelLost);
    }

    const RunHooks hooks = seams.Hooks();
    const auto sink = MakeSink(request, out);
    const RunOutcome outcome = RunCommand(*context, request, *sink, hooks);
    const Record& summary = outcome.summary;
    out.flush();
    const Verdict verdict = Judge(request.command, RulesFor(request), summary);
    uint8_t syncState = 0;
    const bool lost = GetSyncState(driver, syncState) == Status::kChannelLost;
    GiveCardBack(driver);

    if (request.prometheusFile) {
        if (auto failure = ReplaceFileContents(*request.prometheusFile,
                                               PrometheusText(request.command, summary))) {
            return Unknown(err, "cannot write " + *request.prometheusFile + ": " + *failure);
        }
    }
    if (lost) {
        return Unknown(err, kChannelLost);
    }
    if (outcome.failure) {
        return Unknown(err, *outcome.failure);
    }
    return int(verdict);
}

}  // namespace vz
