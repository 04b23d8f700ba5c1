// The Site Survey & Configuration Tool's entry point: the shared Windows seams, its card host,
// and the main dialog with its accelerators.
#include <windows.h>

#include <fstream>
#include <memory>

#include "program/win32/program_seams.h"
#include "ui/win32/win32_ui.h"
#include "zazivev/app/tool_app.h"
#include "zazivev/res/resource.h"
#include "zazivev/shell/tool_card_host.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    using namespace vz;
    ProgramSeams seams;
    ToolCardHost cardHost(seams.shell);
    ToolContext context(
        seams.Wire(instance, cardHost, DriverVariant::kTool, DiagnosticLine::kStatusAndText));
    context.prepareToolWindows = InitCommonControlClasses;
    context.openTextFile = [](const std::string& path) -> std::unique_ptr<std::istream> {
        auto file = std::make_unique<std::ifstream>(path);
        if (!file->is_open()) {
            return nullptr;
        }
        return file;
    };
    ToolApp app(context, cardHost);
    return app.Run([](Dialog& mainDialog) { RunMainDialog(mainDialog, IDR_ACCELERATORS); });
}
