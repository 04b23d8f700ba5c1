// Opening the card's device on each Windows family and sending request blocks.
#include "driver/driver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "driver/le_bytes.h"
#include "driver/request_block.h"

namespace vz {

namespace {

constexpr char kWindows95DevicePath[] = "\\\\.\\ZERUVE";
constexpr int kMaxNtDeviceNumber = 999;

Status OpenNtDevice(Driver& driver) {
    const bool yieldEachTry = driver.variant == DriverVariant::kTool;
    for (int n = 1; n <= kMaxNtDeviceNumber; ++n) {
        if (yieldEachTry) {
            driver.clock.YieldTimeSlice();
        }
        char dosName[sizeof driver.dosName];
        char target[32];
        char path[32];
        std::snprintf(dosName, sizeof dosName, "DAVUZIRO%d", n);
        std::snprintf(target, sizeof target, "\\Device\\DAVUZIRO%d", n);
        std::snprintf(path, sizeof path, "\\\\.\\DAVUZIRO%d", n);
        driver.io.DefineDosDevice(kDddRawTargetPath, dosName, target);
        const DeviceHandle handle = driver.io.OpenDevice(path);
        if (handle != kInvalidDeviceHandle) {
            driver.handle = handle;
            std::memcpy(driver.dosName, dosName, sizeof dosName);
            return Status::kOk;
        }
        // The system stacks definitions: a monitor that reopens every ten seconds while the card
        // is out would pile up hundreds of names each time, so a failed one goes again.
        driver.io.DefineDosDevice(kDddRemoveDefinition, dosName, nullptr);
    }
    return Status::kFailed;
}

}  // namespace

Status OpenDriver(Driver& driver) {
    if (driver.variant == DriverVariant::kTool) {
        driver.card.cardInitialised = 0;
    }
    // A reopened channel replaces the old one; closing it first keeps a long-running program
    // from collecting handles and DOS names each time the channel is lost.
    if (driver.handle != kInvalidDeviceHandle) {
        CloseDriver(driver);
    }

    const SystemVersion version = driver.io.GetSystemVersion();
    if (version.IsWindows95Family()) {
        driver.dosName[0] = '\0';
        driver.handle = driver.io.OpenDevice(kWindows95DevicePath);
        return driver.handle != kInvalidDeviceHandle ? Status::kOk : Status::kFailed;
    }
    const bool ntPath = driver.variant == DriverVariant::kMonitor || version.majorVersion < 4 ||
                        version.platformId == kPlatformWindowsNt;
    return ntPath ? OpenNtDevice(driver) : Status::kFailed;
}

Status CloseDriver(Driver& driver) {
    if (driver.handle != kInvalidDeviceHandle) {
        driver.io.CloseDevice(driver.handle);
    }
    driver.handle = kInvalidDeviceHandle;
    if (driver.dosName[0] != '\0') {
        driver.io.DefineDosDevice(kDddRemoveDefinition, driver.dosName, nullptr);
        driver.dosName[0] = '\0';
    }
    return Status::kOk;
}

Status DriverCommand(Driver& driver, uint32_t command, uint32_t value, uint32_t length,
                     uint8_t* buffer, size_t capacity, uint32_t cardIndex) {
    if (length > kRequestDataSize || length > capacity) {
        return Status::kChannelLost;
    }

    uint8_t block[kRequestBlockSize] = {};
    PutU32(block + kRequestCommandOffset, command + (cardIndex << kCardIndexShift));
    PutU32(block + kRequestValueOffset, value);
    PutU32(block + kRequestLengthOffset, length);
    PutU32(block + kRequestResultOffset, static_cast<uint32_t>(kStatusFailed));
    if (length > 0) {
        std::memcpy(block + kRequestDataOffset, buffer, length);
    }

    uint8_t input[kDriverInputSize];
    PutU32(input, kDriverInputWord);
    const IoControlResult io = driver.io.IoControl(driver.handle, kDriverIoControlCode, input,
                                                   sizeof input, block, sizeof block);
    if (!io.succeeded && io.lastError != kErrorNoMoreItems) {
        char text[64];
        std::snprintf(text, sizeof text, "DeviceIoControl Error:  %ld", long(io.lastError));
        ReportDriverError(driver, Status::kChannelLost, text);
        return Status::kChannelLost;
    }

    const uint32_t returned = GetU32(block + kRequestLengthOffset);
    const size_t copied = returned <= kRequestDataSize ? std::min<size_t>(returned, capacity) : 0;
    if (copied > 0) {
        std::memcpy(buffer, block + kRequestDataOffset, copied);
    }
    return static_cast<Status>(static_cast<int32_t>(GetU32(block + kRequestResultOffset)));
}

void ReportDriverError(Driver& driver, Status status, const char* text) {
    if (driver.reportError) {
        driver.reportError(StatusCode(status), text);
    }
}

}  // namespace vz
