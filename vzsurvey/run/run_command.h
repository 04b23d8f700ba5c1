// Running one vzsurvey command on the card: the engine the windows use, driven on the program's
// clock, its figures handed to the output sink as they come.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "program/program_context.h"
#include "vzsurvey/command_line/request.h"
#include "vzsurvey/output/output_sink.h"

namespace vz {

// What a run needs besides the card.
struct RunHooks {
    // True once the user asked the run to end (Ctrl+C): the run then ends cleanly, summary and all.
    std::function<bool()> stopRequested = [] { return false; };
    // One line about how far a long run has come; only shown on a console.
    std::function<void(const std::string&)> progress = [](const std::string&) {};
    // The wall clock, in milliseconds since the Unix epoch, for the times in the output.
    std::function<int64_t()> utcNowMs = [] { return int64_t{0}; };
};

struct RunOutcome {
    Record summary;                      // also for the verdict
    std::optional<std::string> failure;  // what kept the run from its result (a walk not written)
};

// Runs `request`'s command: Begin, the records as they are measured, and End with the summary.
// The card is opened and given back by the caller.
RunOutcome RunCommand(ProgramContext& context, const Request& request, OutputSink& sink,
                      const RunHooks& hooks);

}  // namespace vz
