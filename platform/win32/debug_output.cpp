// Diagnostic texts go to the debugger's output.
#include "platform/win32/debug_output.h"

#include <windows.h>

namespace vz {

void DebugOutput(const char* text) {
    OutputDebugStringA(text);
    OutputDebugStringA("\n");
}

}  // namespace vz
