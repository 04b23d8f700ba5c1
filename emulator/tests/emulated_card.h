// Test fixture: the real driver layer over the in-process emulator and a virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "driver/card_host.h"
#include "driver/driver.h"
#include "driver/tests/status_printing.h"
#include "emulator/core/emulator.h"
#include "emulator/core/emulator_device_io.h"
#include "emulator/core/scenario_parser.h"
#include "platform/fake/virtual_clock.h"

namespace vz {

inline Scenario ParseOrFail(const std::string& text) {
    Scenario scenario;
    ScenarioError error;
    EXPECT_TRUE(ParseScenario(text, scenario, error)) << error.Text();
    return scenario;
}

struct EmulatedCard {
    explicit EmulatedCard(const std::string& scenarioText)
        : emulator(ParseOrFail(scenarioText), clock),
          io(emulator),
          driver(io, clock, host, DriverVariant::kTool) {}

    VirtualClock clock;
    Emulator emulator;
    EmulatorDeviceIo io;
    NullCardHost host;
    Driver driver;
};

}  // namespace vz
