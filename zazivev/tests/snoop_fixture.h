// Snoop open on its own over an emulated card whose signal table is built, as after the check.
#pragma once

#include "driver/rssi_map.h"
#include "zazivev/snoop/snoop_dialog.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {

// The graph box's client size at the tool's font on the Win32 host.
inline constexpr int kGraphWidth = 576;
inline constexpr int kGraphHeight = 333;

class SnoopTest : public ToolTest {
  protected:
    // `extra` lines are appended to the quick scenario (spectrum, timing, faults).
    void OpenSnoop(const std::string& extra = "", int rate = SnoopDialog::kFast, int country = 0) {
        ui.DeclareTemplate(IDD_SNOOP,
                           {"Snoop",
                            {ControlSpec(IDC_SNOOP_GRAPH).Size(kGraphWidth, kGraphHeight),
                             ControlSpec(IDC_SNOOP_LOW_LABEL), ControlSpec(IDC_SNOOP_HIGH_LABEL),
                             ControlSpec(IDC_SNOOP_SLOW, ControlKind::kRadio, "&Slow").Group(1),
                             ControlSpec(IDC_SNOOP_MEDIUM, ControlKind::kRadio, "&Medium").Group(1),
                             ControlSpec(IDC_SNOOP_FAST, ControlKind::kRadio, "&Fast").Group(1),
                             ControlSpec(kIdOk, ControlKind::kButton, "Done"),
                             ControlSpec(IDC_HELP_COMMAND, ControlKind::kButton, "&Help")}});
        std::string scenario = kQuickScenario + extra;
        scenario.replace(scenario.find("country=0"), 9, "country=" + std::to_string(country));
        StartWithoutOpening(scenario);
        ASSERT_EQ(OpenDriver(*driver), 0);
        char map[kRssiMapTextSize];
        BuildRssiMap(*driver, map);
        snoop = std::make_unique<SnoopDialog>(*context);
        snoop->samplingRate = rate;
        host = &ui.Open(*snoop);
    }

    const FrequencyPoint& Record(int n) { return snoop->Records()[n]; }
    Image Graph() { return host->RenderCanvas(IDC_SNOOP_GRAPH); }

    std::unique_ptr<SnoopDialog> snoop;
    HeadlessHost* host = nullptr;
};

}  // namespace vz
