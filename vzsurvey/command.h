// The commands of vzsurvey and the names they go by on the command line and in the output.
#pragma once

#include <string_view>

namespace vz {

enum class SurveyCommand { kStatus, kMasters, kSurvey, kLink, kSnoop };

constexpr std::string_view CommandName(SurveyCommand command) {
    switch (command) {
        case SurveyCommand::kStatus:
            return "status";
        case SurveyCommand::kMasters:
            return "masters";
        case SurveyCommand::kSurvey:
            return "survey";
        case SurveyCommand::kLink:
            return "link";
        case SurveyCommand::kSnoop:
            return "snoop";
    }
    return "";
}

}  // namespace vz
