// A driver on a scripted device and a virtual clock, with every diagnostic text captured.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "driver/driver.h"
#include "driver/le_bytes.h"
#include "driver/parameter_list.h"
#include "driver/request_block.h"
#include "driver/tests/scripted_device.h"
#include "platform/fake/virtual_clock.h"

namespace vz {

using Bytes = std::vector<uint8_t>;
using Strings = std::vector<std::string>;
using Commands = std::vector<uint32_t>;
using Entries = std::vector<std::pair<uint16_t, Bytes>>;

class RecordingCardHost : public CardHost {
  public:
    void OpenStatusWindow(const char* text) override {
        events.push_back(std::string("open ") + text);
    }
    void CloseStatusWindow() override { events.push_back("close"); }
    void DispatchOneMouseMessage() override { ++mousePumps; }
    void Beep(uint32_t hz, uint32_t ms) override {
        events.push_back("beep " + std::to_string(hz) + " " + std::to_string(ms));
    }
    Strings events;
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
    Bytes SentData(int n = -1) const {
        const Bytes& block = device.sentBlocks.at(n < 0 ? device.sentBlocks.size() + n : n);
        const uint32_t length = GetU32(block.data() + kRequestLengthOffset);
        return {block.begin() + kRequestDataOffset, block.begin() + kRequestDataOffset + length};
    }
    // The ids and values of the parameter list the n-th request sent.
    Entries SentEntries(int n = -1) const {
        const Bytes list = SentData(n);
        Entries entries;
        for (size_t o = 0; o + 2 <= list.size() && GetU16(&list[o]) != 0;) {
            const uint16_t length = GetU16(&list[o + 4]);
            entries.emplace_back(GetU16(&list[o]), Bytes(&list[o + 6], &list[o + 6] + length));
            o += 6 + length;
        }
        return entries;
    }
    Commands SentCommands() const {
        Commands commands;
        for (const Bytes& block : device.sentBlocks) {
            commands.push_back(GetU32(block.data()));
        }
        return commands;
    }

    ScriptedDevice device;
    VirtualClock clock;
    RecordingCardHost host;
    Driver driver;
    Strings reports;
};

// Every test of an operation starts with the channel open.
class OpenDriverTest : public DriverTest {
  protected:
    void SetUp() override { Open(); }
};

}  // namespace vz
