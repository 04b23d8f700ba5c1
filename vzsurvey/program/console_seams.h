// What vzsurvey needs of the system it runs on, beside the card's channel.
#pragma once

#include "program/program_context.h"
#include "vzsurvey/run/run_command.h"

namespace vz {

class ConsoleSeams {
  public:
    virtual ~ConsoleSeams() = default;

    // The Site Survey & Configuration Tool's window exists: it has the card.
    virtual bool ToolRunning() = 0;
    // Takes the card for this run. Returns: false when another vzsurvey has it.
    virtual bool HoldCard() = 0;
    // Makes the card's channel (not yet opened). Returns: null when there is no way to the card.
    virtual ProgramContext* Wire() = 0;
    // Ctrl+C, the progress line and the wall clock.
    virtual RunHooks Hooks() = 0;
};

}  // namespace vz
