// Calendar date and time of day from milliseconds since the Unix epoch.
#include "vzsurvey/output/utc_time.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace vz {
namespace {

// 0000-01-01T00:00:00.000Z and 9999-12-31T23:59:59.999Z: the times four year digits can show.
constexpr std::int64_t kEarliestMs = -62167219200000;
constexpr std::int64_t kLatestMs = 253402300799999;

}  // namespace

std::string UtcTimeText(std::int64_t millisecondsSinceEpoch) {
    using namespace std::chrono;
    const std::int64_t bounded = std::clamp(millisecondsSinceEpoch, kEarliestMs, kLatestMs);
    const sys_time<milliseconds> time{milliseconds{bounded}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss<milliseconds> clock{time - day};
    char text[40];
    std::snprintf(
        text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", int{date.year()},
        unsigned{date.month()}, unsigned{date.day()}, static_cast<int>(clock.hours().count()),
        static_cast<int>(clock.minutes().count()), static_cast<int>(clock.seconds().count()),
        static_cast<int>(clock.subseconds().count()));
    return text;
}

}  // namespace vz
