// Raising a running copy.
#include "platform/running_copy.h"

namespace vz {

bool RaiseRunningCopy(Shell& shell, std::string_view caption) {
    const WindowRef window = shell.FindTopLevelWindow(caption);
    if (window == 0) {
        return false;
    }
    if (shell.IsMinimised(window)) {
        shell.Restore(window);
    } else {
        shell.BringToForeground(window);
    }
    return true;
}

}  // namespace vz
