// Signal strength: the raw-reading-to-percent table, frequency readings and the country code.
#pragma once

#include <cstdint>

#include "driver/driver.h"
#include "driver/request_block.h"

namespace vz {

constexpr size_t kRssiMapTextSize = 256;
constexpr uint8_t kMaxCalibrationPoints = 10;

// Fills CardState's RssiPercent from the card's calibration points and writes them as text.
// Returns command 14's status when it failed, 0 when the card's points were used, -1 when the
// default table was.
int BuildRssiMap(Driver& driver, char (&text)[kRssiMapTextSize], uint32_t cardIndex = 0);
// The table and the map text from a calibration record as command 14 returns it: 0 when its
// points were used, -1 (default table, empty text) when its count is not 1 to 10.
int RssiTableFromCalibration(const uint8_t (&record)[kCalibrationRecordSize], uint8_t (&table)[256],
                             char (&text)[kRssiMapTextSize]);

// Parks the radio on one hopping frequency and reads the signal there, in percent.
int GetRSSI_freq(Driver& driver, uint8_t& percent, uint8_t frequencyIndex, uint32_t cardIndex = 0);
int GetCountryCode(Driver& driver, uint8_t& code, uint32_t cardIndex = 0);

}  // namespace vz
