// Each command's run, over the engine it shares with the windows. Each returns its summary; the
// records go to the sink as they are measured.
#pragma once

#include "vzsurvey/run/run_command.h"

namespace vz {

Record RunStatus(ProgramContext& context);
Record RunMasters(ProgramContext& context, const MastersRequest& request, OutputSink& sink,
                  const RunHooks& hooks);
Record RunSurvey(ProgramContext& context, const SurveyRequest& request, OutputSink& sink,
                 const RunHooks& hooks);
Record RunLink(ProgramContext& context, const LinkRequest& request, OutputSink& sink,
               const RunHooks& hooks);
Record RunSnoop(ProgramContext& context, const SnoopRequest& request, OutputSink& sink,
                const RunHooks& hooks);
// Appends the point to the walk file; `failure` says why it could not be written.
Record RunRecord(ProgramContext& context, const RecordRequest& request, const RunHooks& hooks,
                 std::optional<std::string>& failure);

// The card's configured role and domain from the registry; the domain is null when no adapter
// key was found.
struct Configured {
    int stationType = 0;
    int domain = 0;
    bool found = false;
};
Configured ReadConfiguration(ProgramContext& context);

// The card's Master as it stands now, taken into the card state when read whole. Returns: the
// sync state (0 when the read failed).
uint8_t AdoptCurrentMaster(ProgramContext& context);

// A text from the driver, null when it is empty.
Value TextOrNull(const char* text);

}  // namespace vz
