// vzsurvey's command line: the commands, their options and defaults, checked before anything
// touches the card.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "vzsurvey/command_line/request.h"
#include "vzsurvey/monitoring/verdict.h"

namespace vz {

// The program stops without a request: OK with `text` for standard output (--help, --version), or
// UNKNOWN with `text` for standard error (the mistake, then a one-line usage).
struct CommandLineExit {
    Verdict status;
    std::string text;
};

// `args` are the arguments after the program's name.
std::variant<Request, CommandLineExit> ParseCommandLine(const std::vector<std::string>& args);

}  // namespace vz
