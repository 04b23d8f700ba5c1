// The two tools the Master list opens on a picked Master: the directed link test and the site
// survey of its cell.
#pragma once

#include <cstdint>
#include <string>

#include "settings/adapter_settings.h"
#include "ui/dialog_host.h"
#include "zazivev/app/tool_context.h"

namespace vz {

// Runs the directed link test on `address` with the tool's remembered packet size, and keeps the
// size the user left it at for the next test.
void RunLinkTest(ToolContext& context, DialogHost& host, const std::string& address);
// Runs the site survey; `inRange` is 1 when the card is on the Master whose cell it surveys.
void RunSiteSurvey(ToolContext& context, DialogHost& host, AdapterSettings& settings,
                   uint8_t inRange);

}  // namespace vz
