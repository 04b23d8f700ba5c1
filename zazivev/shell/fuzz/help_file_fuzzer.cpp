// Fuzz target: the help file reader, one section of the file the fuzzer writes; what comes back
// must stay within the reader's bounds. The input's length picks the help context, so every
// context is read across the inputs while each input is read once, as the Help window reads it.
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
constexpr size_t kContextCount = sizeof kHelpContexts / sizeof kHelpContexts[0];
constexpr size_t kMaxLineLength = 512;
constexpr size_t kMaxSectionLines = 5000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int context = kHelpContexts[size % kContextCount];
    std::istringstream file(std::string(reinterpret_cast<const char*>(data), size));
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
    return 0;
}
