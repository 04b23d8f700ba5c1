// Times and figures as every format shows them.
#include <gtest/gtest.h>

#include <limits>

#include "vzsurvey/output/shown_value.h"
#include "vzsurvey/output/utc_time.h"

namespace vz {
namespace {

TEST(Values, UtcTimesAcrossTheEpochALeapDayAndTheBoundsOfFourDigitYears) {
    const std::pair<std::int64_t, const char*> kTimes[] = {
        {0, "1970-01-01T00:00:00.000Z"},
        {-1, "1969-12-31T23:59:59.999Z"},
        {1709164800123, "2024-02-29T00:00:00.123Z"},
        {1796632200000, "2026-12-07T08:30:00.000Z"},
        {std::numeric_limits<std::int64_t>::max(), "9999-12-31T23:59:59.999Z"},
        {std::numeric_limits<std::int64_t>::min(), "0000-01-01T00:00:00.000Z"},
    };
    for (const auto& [ms, text] : kTimes) {
        EXPECT_EQ(UtcTimeText(ms), text) << ms;
    }
}

TEST(Values, FiguresRoundHalfAwayFromZeroWithoutNegativeZero) {
    // Figure, decimals; fixed and short texts.
    const std::tuple<double, int, const char*, const char*> kFigures[] = {
        {2.5, 0, "3", "3"},
        {-2.5, 0, "-3", "-3"},
        {-0.04, 1, "0.0", "0"},
        {7.25, 1, "7.3", "7.3"},
        {20.0, 3, "20.000", "20"},
        {0.1 + 0.2, 9, "0.300000000", "0.3"},
        {1e20, 2, "100000000000000000000.00", "100000000000000000000"},
    };
    for (const auto& [figure, decimals, fixed, shortText] : kFigures) {
        EXPECT_EQ(FixedText(figure, decimals), fixed) << figure;
        EXPECT_EQ(ShortNumberText(figure, decimals), shortText) << figure;
    }
    EXPECT_EQ(std::get<double>(ShownValue(1e300, 3)), 1e300);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ShownValue(-1.0 / 0.0, 1)));
}

}  // namespace
}  // namespace vz
