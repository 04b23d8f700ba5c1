// Signal strength: the raw-reading-to-percent table, frequency readings and the country code.
#pragma once

#include <cstdint>

#include "driver/driver.h"
#include "driver/request_block.h"

namespace vz {

constexpr size_t kRssiMapTextSize = 256;
constexpr uint8_t kMaxCalibrationPoints = 10;

// Fills CardState's RssiPercent from the card's calibration points and writes them as text.
// Returns: kOk when the card's points were used; kFailed when the default table was; command
// 14's status when it failed.
Status BuildRssiMap(Driver& driver, char (&text)[kRssiMapTextSize], uint32_t cardIndex = 0);
// The table and the map text from a calibration record as command 14 returns it.
// Returns: kOk when its points were used; kFailed (default table, empty text) when its count is
// not 1 to 10.
Status RssiTableFromCalibration(const uint8_t (&record)[kCalibrationRecordSize],
                                uint8_t (&table)[256], char (&text)[kRssiMapTextSize]);

// Parks the radio on one hopping frequency and reads the signal there, in percent.
// Returns: kOk; the status of DisableHopping or GetRSSI when it failed.
Status GetRSSI_freq(Driver& driver, uint8_t& percent, uint8_t frequencyIndex,
                    uint32_t cardIndex = 0);
// Command 8 into `code`.
// Returns: the driver's status.
Status GetCountryCode(Driver& driver, uint8_t& code, uint32_t cardIndex = 0);

}  // namespace vz
