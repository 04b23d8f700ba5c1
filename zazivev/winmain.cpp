// The Site Survey & Configuration Tool's entry point: the real seams, or the emulator link when
// VEZUREZ_EMULATOR is set, and the main dialog.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <memory>

#include "emulator/link/emulator_link.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/debug_output.h"
#include "platform/win32/device_io_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/shell_win32.h"
#include "ui/win32/win32_ui.h"
#include "zazivev/res/resource.h"
#include "zazivev/app/tool_app.h"
#include "zazivev/shell/tool_card_host.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace vz;
    Win32Shell shell;
    InitWin32Ui(instance);
    std::unique_ptr<DeviceIo> device = MakeEmulatorLinkFromEnvironment();
    if (!device)
        device = std::make_unique<Win32DeviceIo>();
    Win32Clock clock;
    Win32Registry registry;
    ToolCardHost cardHost(shell);
    Driver driver(*device, clock, cardHost, DriverVariant::kTool);
    driver.reportError = [](int status, const char* text) {
        char line[160];
        std::snprintf(line, sizeof line, "%d %s", status, text);
        DebugOutput(line);
    };

    ToolContext context(driver, registry, shell, clock, device->GetSystemVersion());
    context.openTextFile = [](const std::string& path) -> std::unique_ptr<std::istream> {
        auto file = std::make_unique<std::ifstream>(path);
        if (!file->is_open())
            return nullptr;
        return file;
    };
    ToolApp app(context, cardHost);
    return app.Run([](Dialog& mainDialog) { RunMainDialog(mainDialog, IDR_ACCELERATORS); });
}
