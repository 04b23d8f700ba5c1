// The Status Monitor's entry point: the real seams, or the emulator link when VEZUREZ_EMULATOR is
// set, and the information window for the life of the process.
#include <windows.h>

#include <memory>

#include "emulator/link/emulator_link.h"
#include "ruvedor/app/monitor_app.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/debug_output.h"
#include "platform/win32/device_io_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/shell_win32.h"
#include "ui/win32/win32_ui.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace vz;
    Win32Shell shell;
    if (MonitorApp::RaiseRunningMonitor(shell))
        return 0;

    InitWin32Ui(instance);
    std::unique_ptr<DeviceIo> device = MakeEmulatorLinkFromEnvironment();
    if (!device)
        device = std::make_unique<Win32DeviceIo>();
    Win32Clock clock;
    Win32Registry registry;
    NullCardHost cardHost;
    Driver driver(*device, clock, cardHost, DriverVariant::kMonitor);
    // The monitor's diagnostics carry the step's text alone.
    driver.reportError = [](int, const char* text) { DebugOutput(text); };

    MonitorContext context(driver, registry, shell, clock, device->GetSystemVersion());
    return MonitorApp(context).Run([](Dialog& dialog) { return RunMainDialog(dialog); });
}
