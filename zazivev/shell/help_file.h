// The help text file: its sections between marker lines, and the section of each place.
#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace vz {

constexpr char kHelpFileName[] = "zazivev.hlp";

struct HelpSection {
    const char* startMarker;
    const char* endMarker;
    const char* title;
};

// The section for a help context (102, 1000, 1001, 1010, 1051, 1124); empty markers and title
// for any other.
HelpSection HelpSectionForContext(int helpContext);

// A line is a marker line for `marker` when its longest leading run of characters that occur in
// the marker is the marker itself.
bool IsMarkerLine(std::string_view line, std::string_view marker);

// The lines after the first start-marker line up to the next end-marker line (or the end),
// without comment lines (';' first). Lines and their number are bounded, so a damaged or
// enormous file cannot flood the list.
std::vector<std::string> ReadHelpSection(std::istream& file, const HelpSection& section);

}  // namespace vz
