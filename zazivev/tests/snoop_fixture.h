// Snoop open on its own over an emulated card whose signal table is built, as after the check.
#pragma once

#include "driver/rssi_map.h"
#include "zazivev/snoop/snoop_dialog.h"
#include "zazivev/tests/snoop_template.h"
#include "zazivev/tests/tool_fixture.h"

namespace vz {

class SnoopTest : public ToolTest {
  protected:
    // `extra` lines are appended to the quick scenario (spectrum, timing, faults).
    void OpenSnoop(const std::string& extra = "", int rate = SnoopDialog::kFast, int country = 0) {
        ui.DeclareTemplate(IDD_SNOOP, SnoopTemplate());
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
