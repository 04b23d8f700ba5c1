// Reading one section of the help file.
#include "zazivev/shell/help_file.h"

#include "zazivev/app/help_contexts.h"

namespace vz {

namespace {

constexpr size_t kMaxLineLength = 512;
constexpr size_t kMaxSectionLines = 5000;

const struct {
    int context;
    HelpSection section;
} kSections[] = {
    {kHelpContextMain, {"HELPMAIN", "HELPMSTR", "Main Help"}},
    {kHelpContextMasters, {"HELPMSTR", "HELPCONFIG", "Master List Help"}},
    {kHelpContextSiteSurvey, {"HELPSITE", "HELPSDIR", "Site Survey Help"}},
    {kHelpContextSnoop, {"HELPSNOP", "ZZZZZZZZ", "Snoop Help"}},
    {kHelpContextConfiguration, {"HELPCONFIG", "HELPSITE", "Configuration Help"}},
    {kHelpContextDirectedLink, {"HELPSDIR", "HELPMSTR", "Directed Site Survey Help"}},
};

// One line without its line end (a '\r' left by a file written on Windows included).
// Characters past the bound are read and dropped, never held.
bool ReadLine(std::istream& file, std::string& line) {
    line.clear();
    bool any = false;
    for (int c; (c = file.get()) != std::char_traits<char>::eof();) {
        any = true;
        if (c == '\n') {
            break;
        }
        if (line.size() < kMaxLineLength) {
            line.push_back(static_cast<char>(c));
        }
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return any;
}

}  // namespace

HelpSection HelpSectionForContext(int helpContext) {
    for (const auto& entry : kSections) {
        if (entry.context == helpContext) {
            return entry.section;
        }
    }
    return {"", "", ""};
}

bool IsMarkerLine(std::string_view line, std::string_view marker) {
    const size_t run = line.find_first_not_of(marker);
    const std::string_view leading = line.substr(0, run);
    return !leading.empty() && leading == marker;
}

std::vector<std::string> ReadHelpSection(std::istream& file, const HelpSection& section) {
    std::vector<std::string> lines;
    std::string line;
    bool inSection = false;
    while (ReadLine(file, line)) {
        if (!inSection) {
            inSection = IsMarkerLine(line, section.startMarker);
            continue;
        }
        if (IsMarkerLine(line, section.endMarker)) {
            break;
        }
        if (!line.empty() && line[0] == ';') {
            continue;
        }
        if (lines.size() == kMaxSectionLines) {
            break;
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace vz
