// The engines' test world: a card emulated in process on virtual time, initialised as the tool's
// start-up leaves it, installed as a Station of domain 3.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "driver/card_control.h"
#include "driver/request_block.h"
#include "platform/fake/registry_tree.h"
#include "program/tests/emulated_world.h"
#include "program/tests/test_worlds.h"

namespace vz {

// The driver layer's host, keeping the beeps.
class BeepingCardHost : public NullCardHost {
  public:
    void Beep(uint32_t frequency, uint32_t durationMs) override {
        beeps.emplace_back(frequency, durationMs);
    }
    std::vector<std::pair<uint32_t, uint32_t>> beeps;
};

class EngineTest : public EmulatedWorldTest {
  protected:
    void Begin(const std::string& scenario = kSurveyScenario) {
        ASSERT_NO_FATAL_FAILURE(BuildWorld(scenario));
        WireDriver(*io, cardHost, DriverVariant::kTool);
        context.emplace(Program());
        test::PutValue(registry, kParameters, "Master_Name", test::Sz("MASTER"));
        test::PutValue(registry, kParameters, "Domain", test::Dword(3));
        uint8_t sync = 0;
        ASSERT_EQ(OpenDriver(*driver), Status::kOk);
        ASSERT_EQ(InitCard(*driver, sync, 0, 0), Status::kOk);
    }

    uint64_t Requests(uint32_t command) const { return emulator->Counters().requests[command]; }

    BeepingCardHost cardHost;
    std::optional<ProgramContext> context;
};

}  // namespace vz
