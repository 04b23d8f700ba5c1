// What the whole tool shares: the program context both programs have, and the few
// application-wide values every dialog of the tool may read.
#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <string>

#include "engines/link_test.h"
#include "program/program_context.h"
#include "zazivev/app/help_contexts.h"

namespace vz {

struct ToolContext : ProgramContext {
    using ProgramContext::ProgramContext;
    explicit ToolContext(const ProgramContext& program) : ProgramContext(program) {}

    int helpContext = kHelpContextMain;
    // The directed link test's ping size, kept from one test to the next for the whole run.
    int rememberedPacketSize = kDefaultPacketSize;

    // Opens a text file for reading; null when it cannot be opened. Tests hand in their own.
    std::function<std::unique_ptr<std::istream>(const std::string& path)> openTextFile;
    // Readies the window classes the tool windows hold (list views, progress bars, track bars)
    // before the first of them opens; the main window needs none. Unset in tests.
    std::function<void()> prepareToolWindows;
};

}  // namespace vz
