// The tool's application object: one copy at a time, then the main dialog for the life of the
// process.
#pragma once

#include <functional>

#include "ui/dialog.h"
#include "zazivev/app/tool_context.h"
#include "zazivev/shell/tool_card_host.h"

namespace vz {

class ToolApp {
  public:
    ToolApp(ToolContext& context, ToolCardHost& cardHost)
        : context_(context), cardHost_(cardHost) {}

    // Raises a running copy, or runs the main dialog through `runMainDialog` (the window
    // system's modal run, translating accelerator table 152). Returns the exit code: 0 either
    // way, a refused driver version included.
    int Run(const std::function<void(Dialog& mainDialog)>& runMainDialog);

  private:
    ToolContext& context_;
    ToolCardHost& cardHost_;
};

}  // namespace vz
