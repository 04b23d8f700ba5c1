// The emulator link: device calls forwarded to cardemu over loopback TCP, so the programs run
// their own driver layer against the emulated card.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "emulator/wire/frame.h"
#include "platform/device_io.h"
#include "platform/socket.h"

namespace vz {

constexpr char kEmulatorEnvironmentVariable[] = "VEZUREZ_EMULATOR";
// The last error of a call that lost the connection; anything but 259 makes the driver layer
// answer -9.
constexpr uint32_t kLinkLostError = 1167;

class EmulatorLink : public DeviceIo {
  public:
    explicit EmulatorLink(uint16_t port);
    ~EmulatorLink() override;

    // Calls made while the connection is down first try to make a new one, except IoControl and
    // CloseDevice: their handle belonged to the lost connection and fails.
    SystemVersion GetSystemVersion() override;
    DeviceHandle OpenDevice(const char* path) override;
    void CloseDevice(DeviceHandle handle) override;
    bool DefineDosDevice(uint32_t flags, const char* name, const char* target) override;
    IoControlResult IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                              uint32_t inSize, uint8_t* out, uint32_t outSize) override;

    bool Connected() const { return socket_ != kInvalidSocket; }

  private:
    bool EnsureConnected();
    void Disconnect();
    // Sends one frame and reads the answer to it; any failure drops the connection.
    bool Exchange(const std::vector<uint8_t>& frame, WireOp op);

    std::mutex mutex_;  // the Security ID worker thread shares the link with the dialogs
    uint16_t port_;
    SocketHandle socket_ = kInvalidSocket;
    uint16_t generation_ = 0;
    SystemVersion lastVersion_;
    std::vector<uint8_t> reply_;
};

// "127.0.0.1:PORT" or "localhost:PORT"; any other host is refused (loopback only).
bool ParseEmulatorAddress(const char* text, uint16_t& port);
// The link when VEZUREZ_EMULATOR names a loopback address, else nullptr.
std::unique_ptr<DeviceIo> MakeEmulatorLinkFromEnvironment();

}  // namespace vz
