// The hopping frequencies Snoop sweeps for a card's country code, and the labels of their ends.
#pragma once

#include <cstdint>
#include <string>

namespace vz {

struct FrequencyPlan {
    int points = 0;       // frequencies swept; the one at position n has index n + 1
    int firstOffset = 0;  // MHz above 2.401 GHz of the first frequency
    std::string lowLabel;
    std::string highLabel;
};

// The plan for the two bytes of command 8's reply: the code, whose value modulo 64 chooses the
// plan, and the byte after it, which is the first offset of code 3 (drivers fill only the code
// byte, so it keeps the 0 it starts with). Codes whose value modulo 64 is above 3 are swept
// like code 0.
FrequencyPlan PlanForCountry(uint8_t code, uint8_t offsetByte);

// The frequency at `position` of the sweep, in GHz: 1 MHz steps above 2.400 GHz.
double FrequencyGhz(const FrequencyPlan& plan, int position);

}  // namespace vz
