// What the whole tool shares: the driver channel with its card state, the seams, and the few
// application-wide values every dialog may read.
#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <string>

#include "driver/driver.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_version.h"

namespace vz {

constexpr int kHelpContextMain = 102;

struct ToolContext {
    ToolContext(Driver& driver, Registry& registry, Shell& shell, Clock& clock,
                SystemVersion version)
        : driver(driver), registry(registry), shell(shell), clock(clock), version(version) {}

    Driver& driver;
    Registry& registry;
    Shell& shell;
    Clock& clock;
    SystemVersion version;

    int helpContext = kHelpContextMain;
    // The directed link test's ping size, kept from one test to the next for the whole run.
    int rememberedPacketSize = 1500;

    // Opens a text file for reading; null when it cannot be opened. Tests hand in their own.
    std::function<std::unique_ptr<std::istream>(const std::string& path)> openTextFile;
};

}  // namespace vz
