// Forwarding device calls to cardemu, reconnecting when a lost connection is reopened.
#include "emulator/link/emulator_link.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "emulator/wire/stream.h"

namespace vz {

namespace {

// The emulator may hold an answer back on purpose (the slow-reply fault, at most a minute).
constexpr int kReplyWaitMs = 65000;
constexpr int kMidFrameWaitMs = 5000;
// Server handles are small; the link tags them with the connection they belong to.
constexpr uint32_t kServerHandleLimit = 0x10000;

size_t BoundedLength(const char* text) {
    return text ? strnlen(text, kMaxWireText + 1) : 0;
}

}  // namespace

EmulatorLink::EmulatorLink(uint16_t port) : port_(port) {}

EmulatorLink::~EmulatorLink() {
    Disconnect();
}

bool EmulatorLink::EnsureConnected() {
    if (socket_ != kInvalidSocket) {
        return true;
    }
    if (!SocketStartup()) {
        return false;
    }
    socket_ = ConnectLoopback(port_);
    if (socket_ == kInvalidSocket) {
        return false;
    }
    generation_ = generation_ >= 0x7FFF ? 1 : uint16_t(generation_ + 1);
    return true;
}

void EmulatorLink::Disconnect() {
    if (socket_ == kInvalidSocket) {
        return;
    }
    CloseSocket(socket_);
    socket_ = kInvalidSocket;
}

bool EmulatorLink::Exchange(const std::vector<uint8_t>& frame, WireOp op) {
    if (!SendAll(socket_, frame.data(), frame.size()) ||
        ReceiveAnswerFrame(socket_, reply_, kReplyWaitMs, kMidFrameWaitMs) != FrameRead::kOk ||
        reply_[0] != (uint8_t(op) | kWireReplyBit)) {
        Disconnect();
        return false;
    }
    return true;
}

SystemVersion EmulatorLink::GetSystemVersion() {
    std::lock_guard<std::mutex> guard(mutex_);
    if (!EnsureConnected()) {
        return lastVersion_;
    }
    if (!Exchange(FrameWriter(WireOp::kGetSystemVersion).Finish(), WireOp::kGetSystemVersion)) {
        return lastVersion_;
    }
    FrameReader in(reply_.data() + 1, reply_.size() - 1);
    SystemVersion version;
    version.platformId = in.U32();
    version.majorVersion = in.U32();
    if (!in.Complete()) {
        Disconnect();
        return lastVersion_;
    }
    lastVersion_ = version;
    return version;
}

DeviceHandle EmulatorLink::OpenDevice(const char* path) {
    std::lock_guard<std::mutex> guard(mutex_);
    const size_t length = BoundedLength(path);
    if (length == 0 || length > kMaxWireText || !EnsureConnected()) {
        return kInvalidDeviceHandle;
    }
    if (!Exchange(FrameWriter(WireOp::kOpenDevice).Text(path, length).Finish(),
                  WireOp::kOpenDevice)) {
        return kInvalidDeviceHandle;
    }
    FrameReader in(reply_.data() + 1, reply_.size() - 1);
    const uint32_t handle = in.U32();
    in.U32();  // the open's last error; the driver layer does not look at it
    if (!in.Complete()) {
        Disconnect();
        return kInvalidDeviceHandle;
    }
    if (handle == kWireInvalidHandle || handle >= kServerHandleLimit) {
        return kInvalidDeviceHandle;
    }
    return (DeviceHandle(generation_) << 16) | DeviceHandle(handle);
}

void EmulatorLink::CloseDevice(DeviceHandle handle) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (socket_ == kInvalidSocket || (handle >> 16) != generation_) {
        return;
    }
    Exchange(FrameWriter(WireOp::kCloseDevice).U32(uint32_t(handle & 0xFFFF)).Finish(),
             WireOp::kCloseDevice);
}

bool EmulatorLink::DefineDosDevice(uint32_t flags, const char* name, const char* target) {
    std::lock_guard<std::mutex> guard(mutex_);
    const size_t nameLength = BoundedLength(name);
    const size_t targetLength = BoundedLength(target);
    if (nameLength == 0 || nameLength > kMaxWireText || targetLength > kMaxWireText ||
        !EnsureConnected()) {
        return false;
    }
    FrameWriter frame(WireOp::kDefineDosDevice);
    frame.U32(flags).Text(name, nameLength).U8(target ? 1 : 0);
    if (target) {
        frame.Text(target, targetLength);
    }
    if (!Exchange(frame.Finish(), WireOp::kDefineDosDevice)) {
        return false;
    }
    FrameReader in(reply_.data() + 1, reply_.size() - 1);
    const uint8_t ok = in.U8();
    if (!in.Complete()) {
        Disconnect();
        return false;
    }
    return ok == 1;
}

IoControlResult EmulatorLink::IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                                        uint32_t inSize, uint8_t* out, uint32_t outSize) {
    std::lock_guard<std::mutex> guard(mutex_);
    IoControlResult result;
    result.lastError = kLinkLostError;
    if (socket_ == kInvalidSocket) {
        return result;
    }
    if ((handle >> 16) != generation_ || inSize > kMaxWireInput || outSize > kMaxWireOutput ||
        (inSize > 0 && !in) || (outSize > 0 && !out)) {
        result.lastError = 6;  // ERROR_INVALID_HANDLE / bad arguments: nothing was sent
        return result;
    }
    FrameWriter frame(WireOp::kIoControl);
    frame.U32(uint32_t(handle & 0xFFFF)).U32(code).U16(uint16_t(inSize)).Bytes(in, inSize);
    frame.U16(uint16_t(outSize)).Bytes(out, outSize);
    if (!Exchange(frame.Finish(), WireOp::kIoControl)) {
        return result;
    }

    FrameReader reply(reply_.data() + 1, reply_.size() - 1);
    const uint8_t succeeded = reply.U8();
    const uint32_t lastError = reply.U32();
    const uint16_t returned = reply.U16();
    const uint8_t* data = reply.Bytes(returned);
    if (!reply.Complete() || succeeded > 1 || returned > outSize) {
        Disconnect();
        return result;
    }
    if (returned > 0) {
        std::memcpy(out, data, returned);
    }
    result.succeeded = succeeded == 1;
    result.lastError = result.succeeded ? 0 : lastError;
    return result;
}

bool ParseEmulatorAddress(const char* text, uint16_t& port) {
    if (!text) {
        return false;
    }
    const std::string value(text, strnlen(text, 64));
    const size_t colon = value.rfind(':');
    if (colon == std::string::npos) {
        return false;
    }
    const std::string host = value.substr(0, colon);
    if (host != "127.0.0.1" && host != "localhost") {
        return false;
    }
    const std::string digits = value.substr(colon + 1);
    if (digits.empty() || digits.size() > 5) {
        return false;
    }
    unsigned long n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
        n = n * 10 + unsigned(c - '0');
    }
    if (n == 0 || n > 65535) {
        return false;
    }
    port = uint16_t(n);
    return true;
}

std::unique_ptr<DeviceIo> MakeEmulatorLinkFromEnvironment() {
    uint16_t port = 0;
    if (!ParseEmulatorAddress(std::getenv(kEmulatorEnvironmentVariable), port)) {
        return nullptr;
    }
    return std::make_unique<EmulatorLink>(port);
}

}  // namespace vz
