// Fuzz target: cardemu's scenario parser; a world it accepts is then built and served a round
// of the driver's reads.
#include <string_view>

#include "emulator/fuzz/fuzz_card.h"
#include "platform/fake/virtual_clock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vz::Scenario scenario;
    vz::ScenarioError error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!vz::ParseScenario(text, scenario, error)) {
        return 0;
    }
    vz::VirtualClock clock;
    vz::Emulator emulator(scenario, clock);
    vz::ServeDriverRound(emulator, clock);
    return 0;
}
