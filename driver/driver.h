// The driver channel: one device handle and one CardState per process, and the request block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "driver/card_host.h"
#include "driver/card_state.h"
#include "driver/status.h"
#include "platform/clock.h"
#include "platform/device_io.h"

namespace vz {

// The two programs run the same layer; the monitor opens the NT device names on every platform
// other than the Windows 95 family, without yielding, and keeps no card-initialised flag.
enum class DriverVariant { kTool, kMonitor };

// The diagnostic hook: every failing step reports its status and a text naming the step.
using DriverErrorHook = std::function<void(int status, const char* text)>;

struct Driver {
    Driver(DeviceIo& io, Clock& clock, CardHost& host, DriverVariant variant)
        : io(io), clock(clock), host(host), variant(variant) {}

    DeviceIo& io;
    Clock& clock;
    CardHost& host;
    DriverVariant variant;
    DriverErrorHook reportError;

    DeviceHandle handle = kInvalidDeviceHandle;
    char dosName[12] = "";  // "DAVUZIRO%d" for at most three digits; empty on Windows 95
    CardState card;
};

// Opens the device handle; a handle already open is closed first.
// Returns: kOk when the handle is open, kFailed when no device opened.
Status OpenDriver(Driver& driver);
// Closes the handle and removes the DOS name OpenDriver defined.
// Returns: kOk.
Status CloseDriver(Driver& driver);

// Sends one request block. `buffer` is both what is sent (`length` bytes) and where the reply
// lands; at most `capacity` bytes are copied back.
// Returns: the driver's result, whatever it is; kChannelLost when the request is longer than
// 2000 bytes or than the buffer, or the I/O control request failed.
Status DriverCommand(Driver& driver, uint32_t command, uint32_t value, uint32_t length,
                     uint8_t* buffer, size_t capacity, uint32_t cardIndex = 0);

void ReportDriverError(Driver& driver, Status status, const char* text);

}  // namespace vz
