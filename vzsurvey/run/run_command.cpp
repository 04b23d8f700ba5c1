// One command, from Begin to End.
#include "vzsurvey/run/run_command.h"

#include "driver/status_queries.h"
#include "settings/adapter_settings.h"
#include "vzsurvey/run/commands.h"

namespace vz {

Configured ReadConfiguration(ProgramContext& context) {
    AdapterSettings settings(context.registry, context.version);
    settings.Load();
    return {settings.Station_Type, settings.Domain, settings.AdapterKey() != kNoRegistryKey};
}

uint8_t AdoptCurrentMaster(ProgramContext& context) {
    MasterReading master;
    if (GetMasterNode(context.driver, master) != Status::kOk) {
        return 0;
    }
    AdoptMaster(context.driver.card, master);
    return master.syncState;
}

Value TextOrNull(const char* text) {
    if (text[0] == '\0') {
        return std::monostate{};
    }
    return std::string(text);
}

RunOutcome RunCommand(ProgramContext& context, const Request& request, OutputSink& sink,
                      const RunHooks& hooks) {
    sink.Begin(request.command, hooks.utcNowMs());
    RunOutcome outcome;
    Record& summary = outcome.summary;
    switch (request.command) {
        case SurveyCommand::kStatus:
            summary = RunStatus(context);
            break;
        case SurveyCommand::kMasters:
            summary = RunMasters(context, request.masters, sink, hooks);
            break;
        case SurveyCommand::kSurvey:
            summary = RunSurvey(context, request.survey, sink, hooks);
            break;
        case SurveyCommand::kLink:
            summary = RunLink(context, request.link, sink, hooks);
            break;
        case SurveyCommand::kSnoop:
            summary = RunSnoop(context, request.snoop, sink, hooks);
            break;
        case SurveyCommand::kRecord:
            summary = RunRecord(context, request.record, hooks, outcome.failure);
            break;
        case SurveyCommand::kReport:
            // The report reads a walk file and never reaches the card; the program runs it apart.
            break;
    }
    sink.End(summary, hooks.utcNowMs());
    return outcome;
}

}  // namespace vz
