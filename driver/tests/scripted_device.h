// A device for tests: records every call and every byte, and answers requests from a script.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/device_io.h"

namespace vz {

class ScriptedDevice : public DeviceIo {
  public:
    // One request as the driver sees it; a script step edits it in place.
    struct Request {
        uint32_t commandWord = 0;
        uint32_t length = 0;      // as sent; a step may change what goes back
        int32_t result = 0;       // success unless a step says otherwise
        uint8_t* data = nullptr;  // the 2000-byte data area
        bool fail = false;        // make the I/O control call itself fail
        uint32_t lastError = 0;

        uint32_t Command() const { return commandWord & 0xFFFFFF; }
        // Writes a value into the entry for `id` of the parameter list sent and marks it handled.
        void AnswerParameter(uint16_t id, std::vector<uint8_t> value);
    };
    using Step = std::function<void(Request&)>;

    SystemVersion version;
    std::set<std::string> presentDevices;  // paths that open
    std::vector<std::string> log;          // opens, closes and DOS names, in order, as text
    std::vector<std::vector<uint8_t>> sentBlocks;
    std::vector<std::vector<uint8_t>> sentInputs;

    // Steps run one per request, in order; with none left the standing answer runs, and without
    // one a request succeeds with nothing back.
    void Then(Step step) { script_.push_back(std::move(step)); }
    void Otherwise(Step step) { otherwise_ = std::move(step); }
    size_t OpenHandles() const { return open_.size(); }

    SystemVersion GetSystemVersion() override;
    DeviceHandle OpenDevice(const char* path) override;
    void CloseDevice(DeviceHandle handle) override;
    bool DefineDosDevice(uint32_t flags, const char* name, const char* target) override;
    IoControlResult IoControl(DeviceHandle handle, uint32_t code, const uint8_t* in,
                              uint32_t inSize, uint8_t* out, uint32_t outSize) override;

  private:
    std::deque<Step> script_;
    Step otherwise_;
    std::set<DeviceHandle> open_;
    DeviceHandle nextHandle_ = 100;
};

// Script steps for the common answers.
ScriptedDevice::Step Answer(int32_t result);
ScriptedDevice::Step AnswerParameters(std::map<uint16_t, std::vector<uint8_t>> values);
ScriptedDevice::Step AnswerBytes(std::vector<uint8_t> bytes, int32_t result = 0);
ScriptedDevice::Step FailIoControl(uint32_t lastError);

}  // namespace vz
