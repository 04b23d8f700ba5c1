// The output sink the command line chose, writing to `out` (standard output in the program).
#pragma once

#include <memory>
#include <ostream>

#include "vzsurvey/command_line/request.h"
#include "vzsurvey/output/output_sink.h"

namespace vz {

std::unique_ptr<OutputSink> MakeSink(const Request& request, std::ostream& out);

}  // namespace vz
