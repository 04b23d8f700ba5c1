// The raw-reading-to-percent table from the card's calibration points, and frequency readings.
#include "driver/rssi_map.h"

#include <cstdio>
#include <cstring>

#include "driver/le_bytes.h"
#include "driver/request_block.h"

namespace vz {

namespace {

constexpr size_t kCalibrationCountOffset = 8;
constexpr size_t kCalibrationPointsOffset = 9;

struct CalibrationPoint {
    int level;  // dBm below 0
    int raw;
};

double PointPercent(int level) {
    const double percent = 100.0 - 2.5 * (level - 40);
    return percent < 0 ? 0 : percent > 100 ? 100 : percent;
}

// The raw reading that stands for 0 %: extrapolated from the last two points; from a single
// point, along the default table's slope of one percent per raw step.
int StartBound(const CalibrationPoint* points, int n) {
    const CalibrationPoint& last = points[n - 1];
    if (n == 1) {
        const int bound = last.raw - static_cast<int>(PointPercent(last.level));
        return bound < 0 ? 0 : bound;
    }
    const CalibrationPoint& before = points[n - 2];
    const double xLast = 2.5 * (last.level - 40);
    const double xBefore = 2.5 * (before.level - 40);
    if (xLast == xBefore) {
        return 0;
    }
    const int offset =
        static_cast<int>((100 - xLast) * (last.raw - before.raw) / (xLast - xBefore));
    return (last.raw + offset) & 0xFF;
}

void FillFromPoints(const CalibrationPoint* points, int n, uint8_t (&table)[256]) {
    int bound = StartBound(points, n);
    double accumulator = 0;
    double step = 0;
    double previous = 0;
    int next = n;  // points are taken from the last to the first
    for (int i = 0; i < 256; ++i) {
        if (i > bound) {
            double percent = 100;
            int nextBound = 255;
            if (next >= 1) {
                percent = PointPercent(points[next - 1].level);
                nextBound = points[next - 1].raw;
                --next;
            }
            step = nextBound == bound ? 0 : (percent - previous) / (nextBound - bound);
            previous = percent;
            bound = nextBound;
        }
        accumulator += step;
        // Points out of order would make the segment fall; the table stays within 0..100.
        if (accumulator > 100) {
            accumulator = 100;
        }
        if (accumulator < 0) {
            accumulator = 0;
        }
        table[i] = static_cast<uint8_t>(accumulator + 0.5);
    }
}

void FillDefaultRssiTable(uint8_t (&table)[256]) {
    for (int i = 0; i < 256; ++i) {
        table[i] = uint8_t(i < 100 ? 0 : i <= 200 ? i - 100 : 100);
    }
}

}  // namespace

Status RssiTableFromCalibration(const uint8_t (&record)[kCalibrationRecordSize],
                                uint8_t (&table)[256], char (&text)[kRssiMapTextSize]) {
    const int n = record[kCalibrationCountOffset];
    if (n == 0 || n > kMaxCalibrationPoints) {
        FillDefaultRssiTable(table);
        text[0] = '\0';
        return Status::kFailed;
    }
    CalibrationPoint points[kMaxCalibrationPoints];
    for (int k = 0; k < n; ++k) {
        points[k].level = record[kCalibrationPointsOffset + 2 * k];
        points[k].raw = record[kCalibrationPointsOffset + 2 * k + 1];
    }
    FillFromPoints(points, n, table);

    // Ten entries of at most 14 characters always fit the 256-byte text.
    size_t used = 0;
    text[0] = '\0';
    for (int k = 0; k < n; ++k) {
        used += std::snprintf(text + used, sizeof text - used, "<-%ddBm:%d> ", points[k].level,
                              points[k].raw);
    }
    static_assert(kMaxCalibrationPoints * sizeof "<-255dBm:255> " < kRssiMapTextSize);
    return Status::kOk;
}

Status BuildRssiMap(Driver& driver, char (&text)[kRssiMapTextSize], uint32_t cardIndex) {
    uint8_t record[kCalibrationRecordSize] = {};
    record[4] = 0x80;
    PutU16(record + 6, 21);
    const Status status = DriverCommand(driver, kCmdGetRssiCalibration, 0, sizeof record, record,
                                        sizeof record, cardIndex);
    if (status != Status::kOk) {
        return status;
    }
    return RssiTableFromCalibration(record, driver.card.rssiPercent, text);
}

Status GetRSSI_freq(Driver& driver, uint8_t& percent, uint8_t frequencyIndex, uint32_t cardIndex) {
    uint8_t frequency = frequencyIndex;
    Status status = DriverCommand(driver, kCmdDisableHopping, 0, 1, &frequency, 1, cardIndex);
    if (status != Status::kOk) {
        ReportDriverError(driver, status, "GetRSSI_freq calling DisableHopping");
        return status;
    }
    uint8_t raw = percent;
    status = DriverCommand(driver, kCmdGetRssi, 0, 1, &raw, 1, cardIndex);
    if (status != Status::kOk) {
        ReportDriverError(driver, status, "GetRSSI_freq calling GetRSSI");
        return status;
    }
    percent = driver.card.rssiPercent[raw];
    return Status::kOk;
}

Status GetCountryCode(Driver& driver, uint8_t& code, uint32_t cardIndex) {
    return DriverCommand(driver, kCmdGetCountryCode, 0, 0, &code, 1, cardIndex);
}

}  // namespace vz
