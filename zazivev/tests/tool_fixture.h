// The tool in the emulated world both programs' tests share, with the help file held in memory.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "driver/request_block.h"
#include "program/tests/emulated_world.h"
#include "platform/fake/registry_tree.h"
#include "ui/codes.h"
#include "ui/headless/rc_template.h"
#include "zazivev/app/tool_context.h"
#include "zazivev/res/resource.h"
#include "zazivev/res/strings.h"
#include "zazivev/shell/main_dialog.h"
#include "zazivev/shell/tool_card_host.h"

namespace vz {

// A card that synchronises at once to the Master "Lobby" of its domain.
inline constexpr char kQuickScenario[] = R"(
system nt 4
device davuziro 1
card address=00a0d41a2b3c driver="V1.2.4" rom="V1.49b " country=0
config station=0 domain=3 roaming=0 security-id=""
calibration 40:200 80:100
master 00a0d4010001 name="Lobby" domain=3 channel=5 subchannel=2 signal=-48
timing sync-ms=0 service-us=0
seed 1
)";

// The tool's windows as its resource scripts define them.
inline const RcTemplates& ToolTemplates() {
    static const RcTemplates kTemplates = RcTemplates::Load(
        {ZAZIVEV_RES_DIR "/resource.h", ZAZIVEV_RES_DIR "/strings.h"},
        {ZAZIVEV_RES_DIR "/zazivev.rc", ZAZIVEV_RES_DIR "/config.rc", ZAZIVEV_RES_DIR "/masters.rc",
         ZAZIVEV_RES_DIR "/survey.rc", ZAZIVEV_RES_DIR "/snoop.rc"});
    return kTemplates;
}

class ToolTest : public EmulatedWorldTest {
  protected:
    ToolTest() { ToolTemplates().DeclareAll(ui); }

    // Starts the tool on the world of `scenario`, with `edit` applied to its text first.
    void Start(std::string scenario = kQuickScenario) {
        StartWithoutOpening(std::move(scenario));
        main = &ui.Open(*dialog);
    }

    void StartWithoutOpening(std::string scenario) {
        ASSERT_NO_FATAL_FAILURE(BuildWorld(scenario));
        WireDriver(*io, cardHost, DriverVariant::kTool);
        context = std::make_unique<ToolContext>(Program());
        context->openTextFile = [this](const std::string& path) -> std::unique_ptr<std::istream> {
            auto found = files.find(path);
            if (found == files.end()) {
                return nullptr;
            }
            return std::make_unique<std::istringstream>(found->second);
        };
        dialog = std::make_unique<MainDialog>(*context, cardHost);
    }

    // The adapter's NT parameters key, as the driver's setup leaves it.
    void InstallAdapter(const std::string& cardType = "PCMCIA", int stationType = 0) {
        const std::string key = "System\\CurrentControlSet\\Services\\davuziro\\Parameters";
        test::PutValue(registry, key, "Master_Name", test::Sz("MASTER"));
        test::PutValue(registry, key, "CardType", test::Sz(cardType));
        test::PutValue(registry, key, "Station_Type", test::Dword(stationType));
        test::PutValue(registry, key, "Inactivity_Min", test::Dword(2));
        test::PutValue(registry, key, "Inactivity_Sec", test::Dword(15));
        test::PutValue(registry, "System\\CurrentControlSet\\Services\\davuziro", "Start",
                       test::Dword(1));
    }

    std::string Report() { return main->GetItemText(IDC_MAIN_REPORT); }
    bool Enabled(int id) { return main->Control(id).enabled; }

    ToolCardHost cardHost{shell};
    std::unique_ptr<ToolContext> context;
    std::unique_ptr<MainDialog> dialog;
    HeadlessHost* main = nullptr;
    std::map<std::string, std::string> files;
};

}  // namespace vz
