// The radio's level-to-raw response, from the card's calibration points.
#include "emulator/core/signal_model.h"

#include <algorithm>
#include <cmath>

namespace vz {

namespace {

// The driver's default table reads 2.5 raw steps per dB; a single point keeps that slope.
constexpr double kDefaultSlope = 2.5;

}  // namespace

SignalModel::SignalModel(const std::vector<CalibrationEntry>& points) {
    for (const CalibrationEntry& p : points) {
        const double level = -double(p.belowZeroDbm);
        // Two points at one level carry no slope; the first one stands.
        const bool duplicate = std::any_of(points_.begin(), points_.end(),
                                           [&](const Point& q) { return q.level == level; });
        if (!duplicate)
            points_.push_back(Point{level, double(p.raw)});
    }
    std::sort(points_.begin(), points_.end(),
              [](const Point& a, const Point& b) { return a.level < b.level; });
    if (points_.empty()) {
        points_.push_back(Point{-80.0, 100.0});
        points_.push_back(Point{-40.0, 200.0});
    }
}

uint8_t SignalModel::RawReading(double levelDbm) const {
    double raw = 0.0;
    if (points_.size() == 1) {
        raw = points_[0].raw + kDefaultSlope * (levelDbm - points_[0].level);
    } else {
        size_t hi = 1;
        while (hi + 1 < points_.size() && levelDbm > points_[hi].level)
            ++hi;
        const Point& a = points_[hi - 1];
        const Point& b = points_[hi];
        raw = a.raw + (b.raw - a.raw) * (levelDbm - a.level) / (b.level - a.level);
    }
    raw = std::round(raw);
    if (raw < 0.0)
        return 0;
    if (raw > 255.0)
        return 255;
    return static_cast<uint8_t>(raw);
}

}  // namespace vz
