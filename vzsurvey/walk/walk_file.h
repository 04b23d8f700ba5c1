// The walk file: one line of JSON for the walk, then one for each point measured on it. Points are
// appended and flushed to disk one by one, so a walk cut off halfway keeps every point taken.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "vzsurvey/output/record.h"

namespace vz {

// One node of the survey at a point, as the survey's records give it.
struct WalkNode {
    std::string address;     // 12 lower-case hex digits
    std::string masterName;  // the Master's name on the Master's own row, else empty
    int signalPercent = 0;
    int linkQuality = 0;
    bool heard = false;
};

// One sweep of the band, a frequency per entry of each list.
struct WalkSpectrum {
    std::vector<double> frequencyGhz;
    std::vector<double> averagePercent;
    std::vector<int> peakHoldPercent;
    std::vector<int> minimumHoldPercent;
};

struct WalkPoint {
    double x = 0;  // on the plan, in its pixels
    double y = 0;
    std::string label;
    std::string time;           // ISO 8601 UTC, as UtcTimeText writes it
    std::string masterAddress;  // empty when the card had no Master
    std::string masterName;
    std::vector<WalkNode> nodes;
    std::optional<Record> link;  // the link command's summary
    std::optional<WalkSpectrum> spectrum;
};

struct WalkHeader {
    std::string version;  // the program's version
    std::string started;  // ISO 8601 UTC
    Record card;          // the status command's summary
};

// Appends `point` as one line to the walk file at `path`, first writing `header` as the first
// line when the file is new or empty, and flushes it to disk before returning. A last line left
// unfinished by an earlier run is ended first, so it stays one line the reader skips.
// Returns: why it failed, or none.
std::optional<std::string> AppendWalkPoint(const std::string& path, const WalkHeader& header,
                                           const WalkPoint& point);

struct WalkReading {
    std::optional<WalkHeader> header;  // none when the first line is not the walk's header
    std::vector<WalkPoint> points;
    std::vector<std::string> skipped;  // "line N: reason", one per malformed line
};

// Reads a walk file. Blank lines are passed over; a line that is not a header or point as
// AppendWalkPoint writes them (or is longer than 1 MiB, or has more than 100 nodes or 256
// frequencies) is skipped and told in `skipped`. Reading stops at a 2001st point, told too.
WalkReading ReadWalk(std::istream& in);

}  // namespace vz
