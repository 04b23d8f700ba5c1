// The raw reading for a level: the driver's own table inverted, the radio's response as guide.
#include "emulator/core/signal_model.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "driver/request_block.h"
#include "driver/rssi_map.h"

namespace vz {

namespace {

// The driver's default table reads 2.5 raw steps per dB; a single point keeps that slope.
constexpr double kDefaultSlope = 2.5;

}  // namespace

double LevelPercent(double levelDbm) {
    const double percent = 100.0 - 2.5 * (-levelDbm - 40.0);
    return std::clamp(percent, 0.0, 100.0);
}

SignalModel::SignalModel(const std::vector<CalibrationEntry>& points) {
    for (const CalibrationEntry& p : points) {
        const double level = -double(p.belowZeroDbm);
        // Two points at one level carry no slope; the first one stands.
        const bool duplicate = std::any_of(points_.begin(), points_.end(),
                                           [&](const Point& q) { return q.level == level; });
        if (!duplicate) {
            points_.push_back(Point{level, double(p.raw)});
        }
    }
    std::sort(points_.begin(), points_.end(),
              [](const Point& a, const Point& b) { return a.level < b.level; });
    if (points_.empty()) {
        points_.push_back(Point{-80.0, 100.0});
        points_.push_back(Point{-40.0, 200.0});
    }

    // The table is the driver layer's very own, built from the record the card reports.
    uint8_t record[kCalibrationRecordSize] = {};
    record[8] = uint8_t(points.size());
    for (size_t k = 0; k < points.size() && k < kMaxCalibrationEntries; ++k) {
        record[9 + 2 * k] = points[k].belowZeroDbm;
        record[10 + 2 * k] = points[k].raw;
    }
    char text[kRssiMapTextSize];
    RssiTableFromCalibration(record, table_, text);  // the default table for invalid points
}

double SignalModel::ResponseRaw(double levelDbm) const {
    if (points_.size() == 1) {
        return points_[0].raw + kDefaultSlope * (levelDbm - points_[0].level);
    }
    size_t hi = 1;
    while (hi + 1 < points_.size() && levelDbm > points_[hi].level) {
        ++hi;
    }
    const Point& a = points_[hi - 1];
    const Point& b = points_[hi];
    return a.raw + (b.raw - a.raw) * (levelDbm - a.level) / (b.level - a.level);
}

uint8_t SignalModel::RawReading(double levelDbm) const {
    const double wanted = LevelPercent(levelDbm);
    const double guide = ResponseRaw(levelDbm);
    int best = 0;
    double bestMiss = 1e9;
    double bestDistance = 1e9;
    for (int raw = 0; raw < 256; ++raw) {
        const double miss = std::fabs(table_[raw] - wanted);
        const double distance = std::fabs(raw - guide);
        if (miss < bestMiss - 1e-9 ||
            (std::fabs(miss - bestMiss) <= 1e-9 && distance < bestDistance)) {
            best = raw;
            bestMiss = miss;
            bestDistance = distance;
        }
    }
    return uint8_t(best);
}

}  // namespace vz
