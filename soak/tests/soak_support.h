// What the fault soaks share: random faults in the control language, a device that counts the
// handles a program holds, and the heap in use.
#pragma once

#include <malloc.h>

#include <initializer_list>
#include <random>
#include <set>
#include <string>

#include "platform/device_io.h"
#include "driver/request_block.h"
#include "emulator/core/faults.h"

#ifdef __SANITIZE_ADDRESS__
// The sanitizer runtime's count of the heap in use (its header is not on every machine).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace vz {

inline constexpr double kFaultChancePerTick = 0.05;
// Faults on requests the programs rarely send wait; a few at a time is what a user would arm.
inline constexpr size_t kMaxPendingFaults = 8;
// Room for containers that settle at a larger capacity than they had at the first measurement;
// a leak per tick or per window opened would be megabytes.
inline constexpr size_t kHeapSlackBytes = 64 * 1024;

inline size_t HeapInUse() {
#ifdef __SANITIZE_ADDRESS__
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// One fault of `kind` on a command the programs send, in the control language.
inline std::string RandomFault(FaultKind kind, std::mt19937& random) {
    auto pick = [&random](std::initializer_list<int> values) {
        return std::to_string(values.begin()[random() % values.size()]);
    };
    const std::string cmd =
        " cmd=" + pick({kCmdGetDriverVersion, kCmdGetDriverData, kCmdSetDriverData,
                        kCmdRestartDriver, kCmdInitCard, kCmdGetRssiCalibration, kCmdGetDriverData,
                        kCmdGetRssi, kCmdTransmitPing, kCmdGetPingEcho, kCmdSearchSynchronous,
                        kCmdStartMasterSearch, kCmdStopSearch});
    const std::string nth = " nth=" + pick({1, 2, 3, 5});
    switch (kind) {
        case FaultKind::kDrop:
            return "fault drop" + cmd + nth;
        case FaultKind::kFail:
            return "fault fail" + cmd + " status=" + pick({-1, -2, -5, -9, 1, 2, 7}) + nth +
                   " count=" + pick({1, 2, 20});
        case FaultKind::kUnsetStatus:
            return "fault unset-status cmd=" + pick({kCmdGetDriverData, kCmdSetDriverData}) +
                   (random() % 2 ? "" : " param=" + pick({6, 18, 19, 20, 21, 22, 23}));
        case FaultKind::kLength:
            return "fault length" + cmd + " value=" + pick({0, 1, 5, 13, 1999, 2000, 2001, 65535});
        case FaultKind::kBusy:
            return "fault busy status=" + pick({-5, -6, -7}) + " count=" + pick({1, 2});
        case FaultKind::kSlow:
            return "fault slow" + cmd + " ms=" + pick({5, 150, 1000, 3000});
        case FaultKind::kIoError:
            return "fault ioerror" + cmd + " error=" + pick({1, 6, 31, 259, 1167});
    }
    return "";
}

// Forwards to a session and keeps the handles the program holds: opened and not yet closed,
// whether or not the emulator still knows them after a dropped connection.
class CountedDevice : public DeviceIo {
  public:
    explicit CountedDevice(DeviceIo& device) : device_(device) {}

    SystemVersion GetSystemVersion() override { return device_.GetSystemVersion(); }
    DeviceHandle OpenDevice(const char* path) override {
        const DeviceHandle handle = device_.OpenDevice(path);
        if (handle != kInvalidDeviceHandle) {
            held_.insert(handle);
        }
        return handle;
    }
    void CloseDevice(DeviceHandle handle) override {
        held_.erase(handle);
        device_.CloseDevice(handle);
    }
    bool DefineDosDevice(uint32_t flags, const char* name, const char* target) override {
        return device_.DefineDosDevice(flags, name, target);
    }
    IoControlResult IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                              uint32_t inSize, uint8_t* out, uint32_t outSize) override {
        return device_.IoControl(handle, code, in, inSize, out, outSize);
    }

    size_t Held() const { return held_.size(); }

  private:
    DeviceIo& device_;
    std::set<DeviceHandle> held_;
};

}  // namespace vz
