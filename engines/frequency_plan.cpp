// The frequency plans by country code and their labels in GHz.
#include "engines/frequency_plan.h"

#include <cstdio>

namespace vz {

namespace {

struct PlanRow {
    int points;
    int firstOffset;
};

// By country code modulo 64; code 3's first offset is the reply's second byte.
constexpr PlanRow kPlans[] = {{79, 1}, {23, 1}, {43, 6}, {100, 0}};
constexpr int kCodeWithOffsetByte = 3;
// The graph's end labels: GHz with three decimals.
constexpr char kFrequencyLabelFormat[] = "%1.3f";

std::string Label(double gigahertz) {
    char text[16];
    std::snprintf(text, sizeof text, kFrequencyLabelFormat, gigahertz);
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
    result.lowLabel = Label(FrequencyGhz(result, 0));
    result.highLabel = Label(FrequencyGhz(result, plan.points - 1));
    return result;
}

double FrequencyGhz(const FrequencyPlan& plan, int position) {
    return 2.4 + (plan.firstOffset + position + 1) * 0.001;
}

}  // namespace vz
