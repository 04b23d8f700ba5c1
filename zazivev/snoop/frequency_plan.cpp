// The frequency plans by country code and their labels in GHz.
#include "zazivev/snoop/frequency_plan.h"

#include <cstdio>

#include "zazivev/texts.h"

namespace vz {

namespace {

struct PlanRow {
    int points;
    int firstOffset;
};

// By country code modulo 64; code 3's first offset is the reply's second byte.
constexpr PlanRow kPlans[] = {{79, 1}, {23, 1}, {43, 6}, {100, 0}};
constexpr int kCodeWithOffsetByte = 3;

std::string Label(double gigahertz) {
    char text[16];
    std::snprintf(text, sizeof text, texts::kSnoopFrequencyLabel, gigahertz);
    return text;
}

}  // namespace

FrequencyPlan PlanForCountry(uint8_t code, uint8_t offsetByte) {
    const int row = code % 64;
    // No driver names a plan beyond code 3; the widest common plan shows what is on the air.
    PlanRow plan = row < 4 ? kPlans[row] : kPlans[0];
    if (row == kCodeWithOffsetByte) {
        plan.firstOffset = offsetByte;
    }
    FrequencyPlan result;
    result.points = plan.points;
    result.firstOffset = plan.firstOffset;
    result.lowLabel = Label(2.401 + plan.firstOffset * 0.001);
    result.highLabel = Label(2.4 + plan.firstOffset * 0.001 + plan.points * 0.001);
    return result;
}

}  // namespace vz
