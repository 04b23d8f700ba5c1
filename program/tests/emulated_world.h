// Both programs' test world: headless windows on a virtual clock, a card emulated in process, an
// in-memory registry, a recorded shell; faults set through it must be taken and must fire.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "driver/tests/status_printing.h"
#include "emulator/core/emulator_device_io.h"
#include "emulator/core/scenario_parser.h"
#include "emulator/tests/checked_fault.h"
#include "platform/fake/memory_registry.h"
#include "platform/fake/recording_shell.h"
#include "platform/fake/virtual_clock.h"
#include "program/program_context.h"
#include "ui/headless/headless_ui.h"

namespace vz {

class EmulatedWorldTest : public ::testing::Test {
  protected:
    // A fresh card from `scenario`, with its faults and counters anew.
    void BuildWorld(const std::string& scenario) {
        ScenarioError error;
        faults.clear();
        world = Scenario();
        ASSERT_TRUE(ParseScenario(scenario, world, error)) << error.Text();
        emulator = std::make_unique<Emulator>(world, clock);
        io = std::make_unique<EmulatorDeviceIo>(*emulator);
    }

    // The driver channel over `device`: the card's own device calls, or a wrapper of them.
    void WireDriver(DeviceIo& device, CardHost& cardHost, DriverVariant variant) {
        driver = std::make_unique<Driver>(device, clock, cardHost, variant);
    }

    ProgramContext Program() {
        return ProgramContext(*driver, registry, shell, clock, io->GetSystemVersion());
    }

    void InjectFault(const std::string& line) {
        faults.push_back(std::make_unique<CheckedFault>(*emulator, line));
    }
    // Requests of `command` answer `status`; `which` picks them ("nth=1", "count=always").
    void InjectFailure(uint32_t command, int status, const std::string& which = "count=1") {
        InjectFault("fault fail cmd=" + std::to_string(command) +
                    " status=" + std::to_string(status) + " " + which);
    }

    void TearDown() override { faults.clear(); }

    VirtualClock clock;
    HeadlessUi ui{clock};
    Scenario world;
    std::unique_ptr<Emulator> emulator;
    std::unique_ptr<EmulatorDeviceIo> io;
    MemoryRegistry registry;
    RecordingShell shell;
    std::unique_ptr<Driver> driver;
    std::vector<std::unique_ptr<CheckedFault>> faults;
};

}  // namespace vz
