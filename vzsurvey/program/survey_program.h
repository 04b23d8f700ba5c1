// vzsurvey from its arguments to its exit status: the command line, the card taken and given
// back, the command run, the metrics file and the verdict.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "vzsurvey/program/console_seams.h"

namespace vz {

// `args` follow the program's name. Returns: the exit status, 0 OK, 1 WARNING, 2 CRITICAL,
// 3 UNKNOWN (with a one-line reason on `err`).
int RunSurveyProgram(const std::vector<std::string>& args, ConsoleSeams& seams, std::ostream& out,
                     std::ostream& err);

}  // namespace vz
