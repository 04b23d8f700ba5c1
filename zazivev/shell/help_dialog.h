// The help viewer: one section of the help file in a list under its title.
#pragma once

#include "ui/dialog.h"
#include "zazivev/app/tool_context.h"
#include "zazivev/shell/help_file.h"

namespace vz {

class HelpDialog : public Dialog {
  public:
    HelpDialog(ToolContext& context, HelpSection section);
    bool OnInitDialog() override;

  private:
    ToolContext& context_;
    HelpSection section_;
};

// Runs the help viewer for `section` from `host`'s window.
void ShowHelp(ToolContext& context, DialogHost& host, HelpSection section);

}  // namespace vz
