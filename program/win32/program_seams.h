// The Windows seams wired the same way for both programs: the real shell, clock and registry, and
// the card's device calls through the emulator link when VEZUREZ_EMULATOR is set.
#pragma once

#include <windows.h>

#include <memory>

#include "driver/card_host.h"
#include "driver/driver.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/shell_win32.h"
#include "program/program_context.h"

namespace vz {

// How a driver diagnostic reads on the debugger: "status text", or the step's text alone.
enum class DiagnosticLine { kStatusAndText, kTextOnly };

class ProgramSeams {
  public:
    // Before Wire, only the shell is ready (for the single-instance rule).
    Win32Shell shell;

    // Starts the window system on `instance`, opens the device calls and makes the driver
    // channel; the returned context lives as long as these seams.
    ProgramContext Wire(HINSTANCE instance, CardHost& cardHost, DriverVariant variant,
                        DiagnosticLine line);

  private:
    Win32Clock clock_;
    Win32Registry registry_;
    std::unique_ptr<DeviceIo> device_;
    std::unique_ptr<Driver> driver_;
};

}  // namespace vz
