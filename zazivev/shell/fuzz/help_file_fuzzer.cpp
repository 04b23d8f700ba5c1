// Fuzz target: the help file reader, every section of the file the fuzzer writes; what comes
// back must stay within the reader's bounds.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "zazivev/app/help_contexts.h"
#include "zazivev/shell/help_file.h"

namespace {

constexpr int kHelpContexts[] = {vz::kHelpContextMain,          vz::kHelpContextMasters,
                                 vz::kHelpContextSiteSurvey,    vz::kHelpContextSnoop,
                                 vz::kHelpContextConfiguration, vz::kHelpContextDirectedLink};
constexpr size_t kMaxLineLength = 512;
constexpr size_t kMaxSectionLines = 5000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const int context : kHelpContexts) {
        std::istringstream file(text);
        const std::vector<std::string> lines =
            vz::ReadHelpSection(file, vz::HelpSectionForContext(context));
        if (lines.size() > kMaxSectionLines) {
            std::abort();
        }
        for (const std::string& line : lines) {
            if (line.size() > kMaxLineLength) {
                std::abort();
            }
        }
    }
    return 0;
}
