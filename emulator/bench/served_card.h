// An emulated card served on loopback and opened through the emulator link, as the programs
// reach it: the world the benchmarks measure against, with the real clock.
#pragma once

#include <cstdio>
#include <memory>
#include <mutex>

#include "driver/card_host.h"
#include "driver/driver.h"
#include "emulator/core/emulator.h"
#include "emulator/core/scenario_parser.h"
#include "emulator/link/emulator_link.h"
#include "emulator/server/card_server.h"
#include "platform/steady_clock.h"

namespace vz {

class ServedCard {
  public:
    // Returns: the card, listening and opened by a tool's driver, or nullptr after saying on
    // stderr why it could not be.
    static std::unique_ptr<ServedCard> Open(const char* world) {
        Scenario scenario;
        ScenarioError error;
        if (!ParseScenario(world, scenario, error)) {
            std::fprintf(stderr, "scenario: %s\n", error.Text().c_str());
            return nullptr;
        }
        std::unique_ptr<ServedCard> card(new ServedCard(scenario));
        if (!card->server_.Start(0)) {
            std::fprintf(stderr, "cannot listen\n");
            return nullptr;
        }
        card->link_ = std::make_unique<EmulatorLink>(card->server_.Port());
        card->driver_ =
            std::make_unique<Driver>(*card->link_, card->clock_, card->host_, DriverVariant::kTool);
        if (OpenDriver(*card->driver_) != Status::kOk) {
            std::fprintf(stderr, "cannot open the emulated device\n");
            return nullptr;
        }
        return card;
    }

    SteadyClock& Clock() { return clock_; }
    EmulatorLink& Link() { return *link_; }
    Driver& OpenedDriver() { return *driver_; }

  private:
    explicit ServedCard(const Scenario& scenario)
        : emulator_(scenario, clock_), server_(emulator_, lock_) {}

    SteadyClock clock_;
    Emulator emulator_;
    std::mutex lock_;
    CardServer server_;
    std::unique_ptr<EmulatorLink> link_;
    NullCardHost host_;
    std::unique_ptr<Driver> driver_;
};

}  // namespace vz
