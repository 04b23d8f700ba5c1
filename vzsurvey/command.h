// The commands of vzsurvey and the names they go by on the command line and in the output.
#pragma once

#include <string_view>

namespace vz {

enum class SurveyCommand { kStatus, kMasters, kSurvey, kLink, kSnoop, kRecord, kReport };

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
        case SurveyCommand::kRecord:
            return "record";
        case SurveyCommand::kReport:
            return "report";
    }
    return "";
}

}  // namespace vz
