// A driver on a scripted device and a virtual clock, with every diagnostic text captured.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/driver.h"
#include "driver/le_bytes.h"
#include "driver/request_block.h"
#include "driver/tests/scripted_device.h"
#include "platform/fake/virtual_clock.h"

namespace vz {

class RecordingCardHost : public CardHost {
  public:
    std::vector<std::string> events;
    void OpenStatusWindow(const char* text) override {
        events.push_back(std::string("open ") + text);
    }
    void CloseStatusWindow() override { events.push_back("close"); }
    void DispatchOneMouseMessage() override { ++mousePumps; }
    void Beep(uint32_t frequency, uint32_t ms) override {
        events.push_back("beep " + std::to_string(frequency) + " " + std::to_string(ms));
    }
    int mousePumps = 0;
};

class DriverTest : public ::testing::Test {
  protected:
    explicit DriverTest(DriverVariant variant = DriverVariant::kTool)
        : driver(device, clock, host, variant) {
        device.presentDevices.insert("\\\\.\\DAVUZIRO1");
        driver.reportError = [this](int status, const char* text) {
            reports.push_back(std::to_string(status) + " " + text);
        };
    }

    void Open() { ASSERT_EQ(OpenDriver(driver), 0); }

    // The data area of the n-th request block sent (negative counts from the end).
    std::vector<uint8_t> SentData(int n = -1) const {
        const auto& block = device.sentBlocks.at(n < 0 ? device.sentBlocks.size() + n : n);
        const uint32_t length = GetU32(block.data() + kRequestLengthOffset);
        return {block.begin() + kRequestDataOffset, block.begin() + kRequestDataOffset + length};
    }
    uint32_t SentCommand(int n = -1) const {
        const auto& block = device.sentBlocks.at(n < 0 ? device.sentBlocks.size() + n : n);
        return GetU32(block.data());
    }
    std::vector<uint32_t> SentCommands() const {
        std::vector<uint32_t> commands;
        for (const auto& block : device.sentBlocks)
            commands.push_back(GetU32(block.data()));
        return commands;
    }

    ScriptedDevice device;
    VirtualClock clock;
    RecordingCardHost host;
    Driver driver;
    std::vector<std::string> reports;
};

}  // namespace vz
