// What both programs hand to every dialog: the driver channel with its card state and the seams.
#pragma once

#include "driver/driver.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_version.h"

namespace vz {

struct ProgramContext {
    ProgramContext(Driver& driver, Registry& registry, Shell& shell, Clock& clock,
                   SystemVersion version)
        : driver(driver), registry(registry), shell(shell), clock(clock), version(version) {}

    Driver& driver;
    Registry& registry;
    Shell& shell;
    Clock& clock;
    SystemVersion version;
};

}  // namespace vz
