// One session's device calls against the shared emulated card.
#include "emulator/core/emulator_device_io.h"

#include <cstring>

#include "driver/le_bytes.h"
#include "driver/request_block.h"

namespace vz {

namespace {

// Handles are small numbers offset so that 0 and the invalid value are never handed out.
constexpr DeviceHandle kHandleBase = 0x100;

struct OptionalLock {
    explicit OptionalLock(std::mutex* m) : m(m) {
        if (m) {
            m->lock();
        }
    }
    ~OptionalLock() {
        if (m) {
            m->unlock();
        }
    }
    std::mutex* m;
};

}  // namespace

EmulatorDeviceIo::EmulatorDeviceIo(Emulator& emulator, std::mutex* lock)
    : emulator_(emulator), lock_(lock) {
    OptionalLock guard(lock_);
    dropEpoch_ = emulator_.DropEpoch();
}

void EmulatorDeviceIo::CheckDropEpoch() {
    if (emulator_.DropEpoch() != dropEpoch_) {
        dropEpoch_ = emulator_.DropEpoch();
        DropChannel();
    }
}

void EmulatorDeviceIo::DropChannel() {
    for (bool& open : open_) {
        open = false;
    }
    dropped_ = true;
}

bool EmulatorDeviceIo::TakeDropped() {
    OptionalLock guard(lock_);
    CheckDropEpoch();
    const bool dropped = dropped_;
    dropped_ = false;
    return dropped;
}

SystemVersion EmulatorDeviceIo::GetSystemVersion() {
    OptionalLock guard(lock_);
    return emulator_.SystemVersionRecord();
}

DeviceHandle EmulatorDeviceIo::OpenDevice(const char* path) {
    OptionalLock guard(lock_);
    CheckDropEpoch();
    dropped_ = false;  // a new open is a new channel
    if (!path || !emulator_.DeviceExists(std::string_view(path, strnlen(path, 261)))) {
        emulator_.NoteOpen(false);
        lastOpenError_ = kErrorFileNotFound;
        return kInvalidDeviceHandle;
    }
    for (int i = 0; i < kMaxHandles; ++i) {
        if (!open_[i]) {
            open_[i] = true;
            emulator_.NoteOpen(true);
            lastOpenError_ = 0;
            return kHandleBase + i;
        }
    }
    emulator_.NoteOpen(false);
    lastOpenError_ = kErrorTooManyOpenFiles;
    return kInvalidDeviceHandle;
}

void EmulatorDeviceIo::CloseDevice(DeviceHandle handle) {
    OptionalLock guard(lock_);
    const DeviceHandle i = handle - kHandleBase;
    if (i >= 0 && i < kMaxHandles && open_[i]) {
        open_[i] = false;
        emulator_.NoteClose();
    }
}

bool EmulatorDeviceIo::DefineDosDevice(uint32_t flags, const char* name, const char* target) {
    OptionalLock guard(lock_);
    if (!name) {
        return false;
    }
    return emulator_.DefineDosDevice(flags, std::string_view(name, strnlen(name, 261)), target);
}

IoControlResult EmulatorDeviceIo::IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                                            uint32_t inSize, uint8_t* out, uint32_t outSize) {
    IoControlResult result;
    ServeOutcome outcome;
    {
        OptionalLock guard(lock_);
        CheckDropEpoch();
        const DeviceHandle i = handle - kHandleBase;
        if (i < 0 || i >= kMaxHandles || !open_[i]) {
            result.lastError = kErrorInvalidHandle;
            return result;
        }
        if (code != kDriverIoControlCode) {
            result.lastError = kErrorInvalidFunction;
            return result;
        }
        if (!in || inSize != kDriverInputSize || GetU32(in) != kDriverInputWord) {
            result.lastError = kErrorInvalidParameter;
            return result;
        }
        if (!out || outSize < kRequestBlockSize) {
            result.lastError = kErrorInsufficientBuffer;
            return result;
        }
        outcome = emulator_.Serve(out, outSize);
        if (outcome.drop) {
            DropChannel();
            result.lastError = kErrorDeviceNotConnected;
            return result;
        }
    }
    Delay(outcome.delayUs);
    result.succeeded = !outcome.ioError;
    result.lastError = outcome.ioError ? outcome.ioErrorCode : 0;
    return result;
}

void EmulatorDeviceIo::Delay(uint32_t us) {
    if (us == 0) {
        return;
    }
    if (delaySink_) {
        delaySink_(us);
        return;
    }
    carriedUs_ += us;
    const uint32_t ms = carriedUs_ / 1000;
    if (ms == 0) {
        return;
    }
    carriedUs_ -= ms * 1000;
    emulator_.SleepMs(ms);
}

}  // namespace vz
