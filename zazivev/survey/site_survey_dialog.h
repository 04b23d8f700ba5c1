// The site survey: a broadcast ping each cycle and a table of every node that answers.
#pragma once

#include <cstdint>

#include "settings/adapter_settings.h"
#include "ui/dialog.h"
#include "zazivev/app/tool_context.h"

namespace vz {

class SiteSurveyDialog : public Dialog {
  public:
    // Sort order starts at time of arrival and Master heard at false, as every opener wants;
    // `inRange` is the sync state the opener knows (the Master list gives 1 after a
    // successful SynchToMaster, else 0).
    SiteSurveyDialog(ToolContext& context, AdapterSettings& settings, uint8_t inRange);

  private:
    ToolContext& context_;
    AdapterSettings& settings_;
    uint8_t inRange_;
};

}  // namespace vz
