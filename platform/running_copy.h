// The single-instance rule both programs follow: a running copy is raised, not joined.
#pragma once

#include <string_view>

#include "platform/shell.h"

namespace vz {

// When a top-level window has exactly this caption, restores it if minimised or else brings it
// to the foreground, and returns true: the new process then ends without showing anything.
bool RaiseRunningCopy(Shell& shell, std::string_view caption);

}  // namespace vz
