// Appending a point to the walk file, and reading the file back line by line.
#include "vzsurvey/walk/walk_file.h"

#include <cerrno>
#include <cstring>

#include "vzsurvey/walk/flush_to_disk.h"
#include "vzsurvey/walk/walk_json.h"

namespace vz {
namespace {

constexpr size_t kMaxLineBytes = 1 << 20;
constexpr size_t kMostPoints = 2000;

// The next line of `in` into `line`, without its CR LF or LF; a line longer than kMaxLineBytes
// is consumed whole and `tooLong` set. Returns: false at the end of the input.
bool NextLine(std::istream& in, std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    std::streambuf* buffer = in.rdbuf();
    bool any = false;
    for (int c = buffer->sbumpc(); c != std::char_traits<char>::eof(); c = buffer->sbumpc()) {
        any = true;
        if (c == '\n') {
            break;
        }
        if (line.size() < kMaxLineBytes) {
            line.push_back(static_cast<char>(c));
        } else {
            tooLong = true;
        }
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return any;
}

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

// What goes before the point's line: the header when the file is empty, a line end when an
// earlier run left the last line unfinished. Leaves the file positioned at its end.
std::optional<std::string> Lead(std::FILE* file, const WalkHeader& header) {
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return std::nullopt;
    }
    if (std::ftell(file) == 0) {
        return JsonText(WalkHeaderJson(header), -1) + "\n";
    }
    if (std::fseek(file, -1, SEEK_END) != 0) {
        return std::nullopt;
    }
    const bool ended = std::fgetc(file) == '\n';
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return std::nullopt;
    }
    return ended ? "" : "\n";
}

}  // namespace

std::optional<std::string> AppendWalkPoint(const std::string& path, const WalkHeader& header,
                                           const WalkPoint& point) {
    std::FILE* file = std::fopen(path.c_str(), "a+b");
    if (file == nullptr) {
        return "cannot open " + path + ": " + std::strerror(errno);
    }
    const std::optional<std::string> lead = Lead(file, header);
    const std::string text = lead ? *lead + JsonText(WalkPointJson(point), -1) + "\n" : "";
    bool written =
        lead && std::fwrite(text.data(), 1, text.size(), file) == text.size() && FlushToDisk(file);
    int error = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) {
        return "cannot write " + path + ": " + std::strerror(error);
    }
    return std::nullopt;
}

WalkReading ReadWalk(std::istream& in) {
    WalkReading reading;
    std::string line;
    bool tooLong = false;
    for (int number = 1; NextLine(in, line, tooLong); ++number) {
        const std::string at = "line " + std::to_string(number) + ": ";
        if (tooLong) {
            reading.skipped.push_back(at + "longer than 1 MiB");
            continue;
        }
        if (IsBlank(line)) {
            continue;
        }
        const Json json = Json::parse(line, nullptr, false);
        if (json.is_discarded()) {
            reading.skipped.push_back(at + "not JSON");
            continue;
        }
        auto read = WalkLineFromJson(json);
        if (auto* why = std::get_if<std::string>(&read)) {
            reading.skipped.push_back(at + *why);
        } else if (auto* point = std::get_if<WalkPoint>(&read)) {
            if (reading.points.size() == kMostPoints) {
                reading.skipped.push_back(at + "more than 2000 points, the rest is left out");
                break;
            }
            reading.points.push_back(std::move(*point));
        } else if (number == 1) {
            reading.header = std::get<WalkHeader>(std::move(read));
        } else {
            reading.skipped.push_back(at + "a walk header after the first line");
        }
    }
    return reading;
}

}  // namespace vz
