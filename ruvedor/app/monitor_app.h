// MonitorApp: one Status Monitor per desktop, running its information window for its whole life.
#pragma once

#include <functional>

#include "program/program_context.h"
#include "ui/dialog.h"

namespace vz {

class MonitorApp {
  public:
    // Runs a dialog as the program's main window and returns how it ended.
    using MainDialogRunner = std::function<int(Dialog&)>;

    explicit MonitorApp(ProgramContext& context) : context_(context) {}

    // The first step of start-up, before anything else is set up: a monitor already running is
    // restored or brought forward (hidden, it stays hidden). True: this process ends with 0.
    static bool RaiseRunningMonitor(Shell& shell);

    // The information window for the life of the process. The exit code is 0 however it ended:
    // removed by the user, or no driver on an adapter that is not a PC card.
    int Run(const MainDialogRunner& runMainDialog);

  private:
    ProgramContext& context_;
};

}  // namespace vz
