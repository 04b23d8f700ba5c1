// Reading one section of the help file.
#include "zazivev/shell/help_file.h"

#include <algorithm>
#include <cstring>

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

// The file's lines, read a block at a time: a line end is looked for in the whole block at once
// rather than character by character.
class LineReader {
  public:
    explicit LineReader(std::istream& file) : file_(file) {}

    // One line without its line end (a '\r' left by a file written on Windows included).
    // Characters past the bound are read and dropped, never held.
    bool Next(std::string& line) {
        line.clear();
        bool any = false;
        for (;;) {
            if (pos_ == end_ && !Fill()) {
                break;
            }
            any = true;
            const char* start = block_ + pos_;
            const size_t available = end_ - pos_;
            const auto* newline = static_cast<const char*>(std::memchr(start, '\n', available));
            const size_t length = newline ? size_t(newline - start) : available;
            line.append(start, std::min(length, kMaxLineLength - line.size()));
            pos_ += length;
            if (newline) {
                ++pos_;
                break;
            }
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        return any;
    }

  private:
    bool Fill() {
        file_.read(block_, sizeof block_);
        pos_ = 0;
        end_ = static_cast<size_t>(file_.gcount());
        return end_ > 0;
    }

    static constexpr size_t kBlockSize = 4096;

    std::istream& file_;
    char block_[kBlockSize];
    size_t pos_ = 0;
    size_t end_ = 0;
};

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
    // The leading run is the marker itself when the line starts with the marker and goes on,
    // if at all, with a character the marker does not hold.
    if (marker.empty() || line.substr(0, marker.size()) != marker) {
        return false;
    }
    return line.size() == marker.size() || marker.find(line[marker.size()]) == marker.npos;
}

std::vector<std::string> ReadHelpSection(std::istream& file, const HelpSection& section) {
    std::vector<std::string> lines;
    LineReader reader(file);
    std::string line;
    bool inSection = false;
    while (reader.Next(line)) {
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
