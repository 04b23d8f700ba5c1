// The device calls answered by the emulator in-process: one session per program (or per client
// of the server), with its own handles, over one shared card.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>

#include "emulator/core/emulator.h"
#include "platform/device_io.h"

namespace vz {

constexpr uint32_t kErrorInvalidFunction = 1;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kErrorTooManyOpenFiles = 4;
constexpr uint32_t kErrorDeviceNotConnected = 1167;

class EmulatorDeviceIo : public DeviceIo {
  public:
    static constexpr int kMaxHandles = 64;

    // `lock` guards the card when several sessions share it from several threads (the server).
    explicit EmulatorDeviceIo(Emulator& emulator, std::mutex* lock = nullptr);

    SystemVersion GetSystemVersion() override;
    DeviceHandle OpenDevice(const char* path) override;
    void CloseDevice(DeviceHandle handle) override;
    bool DefineDosDevice(uint32_t flags, const char* name, const char* target) override;
    IoControlResult IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                              uint32_t inSize, uint8_t* out, uint32_t outSize) override;

    // The error OpenDevice failed with (2 for a device that is not there).
    uint32_t LastOpenError() const { return lastOpenError_; }
    // True once a drop fault or "drop-clients" took this session's channel away; the server then
    // closes the connection instead of answering. Reading it clears it.
    bool TakeDropped();
    // Where the driver's service time goes: by default the emulator's clock sleeps it away
    // (whole milliseconds, carried over), so a virtual clock moves on as a real one would.
    void SetDelaySink(std::function<void(uint32_t us)> sink) { delaySink_ = std::move(sink); }

  private:
    void CheckDropEpoch();
    void DropChannel();
    void Delay(uint32_t us);

    Emulator& emulator_;
    std::mutex* lock_;
    bool open_[kMaxHandles] = {};
    uint32_t dropEpoch_;
    bool dropped_ = false;
    uint32_t lastOpenError_ = 0;
    uint32_t carriedUs_ = 0;
    std::function<void(uint32_t)> delaySink_;
};

}  // namespace vz
