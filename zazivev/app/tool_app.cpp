// Starting the tool.
#include "zazivev/app/tool_app.h"

#include "platform/running_copy.h"
#include "zazivev/res/strings.h"
#include "zazivev/shell/main_dialog.h"

namespace vz {

int ToolApp::Run(const std::function<void(Dialog&)>& runMainDialog) {
    if (RaiseRunningCopy(context_.shell, TEXT_MAIN_CAPTION)) {
        return 0;
    }
    MainDialog mainDialog(context_, cardHost_);
    runMainDialog(mainDialog);
    return 0;
}

}  // namespace vz
