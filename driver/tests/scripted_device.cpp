// The scripted test device.
#include "driver/tests/scripted_device.h"

#include <algorithm>
#include <cstring>

#include "driver/le_bytes.h"
#include "driver/parameter_list.h"
#include "driver/request_block.h"

namespace vz {

void ScriptedDevice::Request::AnswerParameter(uint16_t id, std::vector<uint8_t> value) {
    for (uint32_t o = 0; o + 6 <= length;) {
        const uint16_t readId = GetU16(data + o);
        if (readId == 0 || readId > kMaxParameterId) {
            return;
        }
        if (readId == id) {
            PutU16(data + o + 2, 0);
            std::memcpy(data + o + 6, value.data(),
                        std::min<size_t>(value.size(), ParameterLength(id)));
            return;
        }
        o += 6 + ParameterLength(readId);
    }
}

SystemVersion ScriptedDevice::GetSystemVersion() {
    log.push_back("version");
    return version;
}

DeviceHandle ScriptedDevice::OpenDevice(const char* path) {
    log.push_back(std::string("open ") + path);
    if (presentDevices.count(path) == 0) {
        return kInvalidDeviceHandle;
    }
    open_.insert(nextHandle_);
    return nextHandle_++;
}

void ScriptedDevice::CloseDevice(DeviceHandle handle) {
    log.push_back("close " + std::to_string(handle));
    open_.erase(handle);
}

bool ScriptedDevice::DefineDosDevice(uint32_t flags, const char* name, const char* target) {
    log.push_back("define " + std::to_string(flags) + " " + name + " " + (target ? target : "-"));
    return true;
}

IoControlResult ScriptedDevice::IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                                          uint32_t inSize, uint8_t* out, uint32_t outSize) {
    sentInputs.emplace_back(in, in + inSize);
    sentBlocks.emplace_back(out, out + outSize);
    if (open_.count(handle) == 0 || code != kDriverIoControlCode || outSize < kRequestBlockSize) {
        return {false, 6};  // ERROR_INVALID_HANDLE
    }
    Request request{GetU32(out + kRequestCommandOffset), GetU32(out + kRequestLengthOffset), 0,
                    out + kRequestDataOffset};
    if (!script_.empty()) {
        Step step = std::move(script_.front());
        script_.pop_front();
        step(request);
    } else if (otherwise_) {
        otherwise_(request);
    } else {
        request.length = 0;
    }
    PutU32(out + kRequestLengthOffset, request.length);
    PutU32(out + kRequestResultOffset, static_cast<uint32_t>(request.result));
    return {!request.fail, request.fail ? request.lastError : 0};
}

ScriptedDevice::Step Answer(int32_t result) {
    return [result](ScriptedDevice::Request& r) {
        r.result = result;
        r.length = 0;
    };
}

ScriptedDevice::Step AnswerParameters(std::map<uint16_t, std::vector<uint8_t>> values) {
    return [values = std::move(values)](ScriptedDevice::Request& r) {
        for (const auto& [id, value] : values) {
            r.AnswerParameter(id, value);
        }
    };
}

ScriptedDevice::Step AnswerBytes(std::vector<uint8_t> bytes, int32_t result) {
    return [bytes = std::move(bytes), result](ScriptedDevice::Request& r) {
        std::memcpy(r.data, bytes.data(), std::min(bytes.size(), kRequestDataSize));
        r.length = static_cast<uint32_t>(bytes.size());
        r.result = result;
    };
}

ScriptedDevice::Step FailIoControl(uint32_t lastError) {
    return [lastError](ScriptedDevice::Request& r) {
        r.fail = true;
        r.lastError = lastError;
    };
}

}  // namespace vz
