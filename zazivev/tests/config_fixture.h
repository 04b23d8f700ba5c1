// The Configuration dialog on the headless window system over the in-process emulated card, with
// the settings the main dialog would lend it.
#pragma once

#include <memory>
#include <numeric>
#include <string>

#include "driver/card_control.h"
#include "zazivev/config/configuration_dialog.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {

class ConfigTest : public ToolTest {
  protected:
    // Opens Configuration over the adapter's stored settings, after a start-up check's InitCard
    // when `initCard`.
    void OpenConfiguration(const std::string& scenario = kQuickScenario, bool initCard = true) {
        StartWithoutOpening(scenario);
        context->openTextFile = [this](const std::string&) -> std::unique_ptr<std::istream> {
            return std::make_unique<std::istringstream>(helpFile);
        };
        uint8_t sync = 0;
        ASSERT_EQ(OpenDriver(*driver), 0);
        ASSERT_EQ(initCard ? InitCard(*driver, sync, 0, 0) : 0, 0);
        settings = std::make_unique<AdapterSettings>(registry, context->version);
        settings->Load();
        requestsBefore = Requests();
        config = std::make_unique<ConfigurationDialog>(*context, *settings);
        window = &ui.Open(*config);
    }

    uint64_t Requests() const {
        const auto& counts = emulator->Counters().requests;
        return std::accumulate(counts.begin(), counts.end(), uint64_t{0});
    }
    uint64_t RequestsSinceOpening() const { return Requests() - requestsBefore; }
    std::string Selected(int id) { return window->ComboSelectedText(id); }

    static constexpr char kParameters[] =
        "System\\CurrentControlSet\\Services\\davuziro\\Parameters";

    std::unique_ptr<AdapterSettings> settings;
    std::unique_ptr<ConfigurationDialog> config;
    HeadlessHost* window = nullptr;
    std::string helpFile;
    uint64_t requestsBefore = 0;
};

}  // namespace vz
