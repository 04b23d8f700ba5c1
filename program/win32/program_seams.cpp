// Wiring the Windows seams into a driver channel and a program context.
#include "program/win32/program_seams.h"

#include <cstdio>

#include "emulator/link/emulator_link.h"
#include "platform/win32/debug_output.h"
#include "platform/win32/device_io_win32.h"
#include "ui/win32/win32_ui.h"

namespace vz {

ProgramContext ProgramSeams::Wire(HINSTANCE instance, CardHost& cardHost, DriverVariant variant,
                                  DiagnosticLine line) {
    InitWin32Ui(instance);
    device_ = MakeEmulatorLinkFromEnvironment();
    if (!device_) {
        device_ = std::make_unique<Win32DeviceIo>();
    }
    driver_ = std::make_unique<Driver>(*device_, clock_, cardHost, variant);
    if (line == DiagnosticLine::kStatusAndText) {
        driver_->reportError = [](int status, const char* text) {
            char buffer[160];
            std::snprintf(buffer, sizeof buffer, "%d %s", status, text);
            DebugOutput(buffer);
        };
    } else {
        driver_->reportError = [](int, const char* text) { DebugOutput(text); };
    }
    return ProgramContext(*driver_, registry_, shell, clock_, device_->GetSystemVersion());
}

}  // namespace vz
