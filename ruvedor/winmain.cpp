// The Status Monitor's entry point: one copy per desktop, then the shared Windows seams and the
// information window for the life of the process.
#include <windows.h>

#include "program/win32/program_seams.h"
#include "ruvedor/app/monitor_app.h"
#include "ui/win32/win32_ui.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace vz;
    ProgramSeams seams;
    if (MonitorApp::RaiseRunningMonitor(seams.shell)) {
        return 0;
    }
    NullCardHost cardHost;
    // The monitor's diagnostics carry the step's text alone.
    ProgramContext context =
        seams.Wire(instance, cardHost, DriverVariant::kMonitor, DiagnosticLine::kTextOnly);
    return MonitorApp(context).Run([](Dialog& dialog) { return RunMainDialog(dialog); });
}
