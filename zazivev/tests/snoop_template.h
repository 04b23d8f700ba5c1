// Snoop's template as resource 147 declares it, for the headless host; the graph box at the
// client size it has on the Win32 host with the tool's font.
#pragma once

#include "ui/codes.h"
#include "ui/headless/control_state.h"
#include "zazivev/res/resource.h"

namespace vz {

inline constexpr int kGraphWidth = 576;
inline constexpr int kGraphHeight = 333;

inline TemplateSpec SnoopTemplate() {
    return {"Snoop",
            {ControlSpec(IDC_SNOOP_GRAPH).Size(kGraphWidth, kGraphHeight),
             ControlSpec(IDC_SNOOP_LOW_LABEL), ControlSpec(IDC_SNOOP_HIGH_LABEL),
             ControlSpec(IDC_SNOOP_SLOW, ControlKind::kRadio, "&Slow").Group(1),
             ControlSpec(IDC_SNOOP_MEDIUM, ControlKind::kRadio, "&Medium").Group(1),
             ControlSpec(IDC_SNOOP_FAST, ControlKind::kRadio, "&Fast").Group(1),
             ControlSpec(kIdOk, ControlKind::kButton, "Done"),
             ControlSpec(IDC_HELP_COMMAND, ControlKind::kButton, "&Help")}};
}

}  // namespace vz
