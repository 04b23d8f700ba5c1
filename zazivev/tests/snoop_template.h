// Snoop's template as its resource script declares it, for the headless host, with the graph
// box at the client size it has on the Win32 host with the tool's font.
#pragma once

#include "ui/headless/rc_template.h"
#include "zazivev/res/resource.h"

namespace vz {

inline constexpr int kGraphWidth = 576;
inline constexpr int kGraphHeight = 333;

inline TemplateSpec SnoopTemplate(const RcTemplates& templates) {
    TemplateSpec spec = *templates.Find(IDD_SNOOP);
    for (ControlSpec& control : spec.controls) {
        if (control.id == IDC_SNOOP_GRAPH) {
            control.Size(kGraphWidth, kGraphHeight);
        }
    }
    return spec;
}

}  // namespace vz
