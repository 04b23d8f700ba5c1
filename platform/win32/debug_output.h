// Diagnostic texts for a debugger; nothing the user sees.
#pragma once

namespace vz {

void DebugOutput(const char* text);

}  // namespace vz
