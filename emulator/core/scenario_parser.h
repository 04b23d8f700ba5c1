// Reading scenario files: one statement per line, errors naming the line and the reason.
#pragma once

#include <string>
#include <string_view>

#include "emulator/core/scenario.h"
#include "emulator/core/text_fields.h"

namespace vz {

struct ScenarioError {
    int line = 0;  // 1-based; 0 when the file itself could not be read
    std::string reason;

    std::string Text() const;
};

constexpr size_t kMaxScenarioFileSize = 1 << 20;

// Parses a whole scenario; on failure `scenario` is left unchanged.
bool ParseScenario(std::string_view text, Scenario& scenario, ScenarioError& error);
bool LoadScenarioFile(const std::string& path, Scenario& scenario, ScenarioError& error);

// Statements that describe the radio world ("master", "node", "spectrum", "noise",
// "interferer", "timing") may also arrive while the emulator runs; then a Master or node that
// exists is updated rather than refused as a duplicate.
enum class StatementMode { kScenarioFile, kLiveUpdate };
bool IsWorldStatement(const std::string& keyword);
bool ApplyWorldStatement(const LineTokens& tokens, Scenario& scenario, StatementMode mode,
                         std::string& error);

}  // namespace vz
