// Signal strength: the raw-reading-to-percent table, frequency readings and the country code.
#pragma once

#include <cstdint>

#include "driver/driver.h"

namespace vz {

constexpr size_t kRssiMapTextSize = 256;
constexpr uint8_t kMaxCalibrationPoints = 10;

// Fills CardState's RssiPercent from the card's calibration points and writes them as text.
// Returns command 14's status when it failed, 0 when the card's points were used, -1 when the
// default table was.
int BuildRssiMap(Driver& driver, char (&text)[kRssiMapTextSize], uint32_t cardIndex = 0);
// The default table, for a card without valid calibration.
void FillDefaultRssiTable(uint8_t (&table)[256]);

// Parks the radio on one hopping frequency and reads the signal there, in percent.
int GetRSSI_freq(Driver& driver, uint8_t& percent, uint8_t frequencyIndex, uint32_t cardIndex = 0);
int GetCountryCode(Driver& driver, uint8_t& code, uint32_t cardIndex = 0);

}  // namespace vz
