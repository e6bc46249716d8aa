#include "commands/calendar.h"

#include <cmath>
#include <cstdint>

namespace ruvelto::commands {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kDaysFrom1899To1970 = 25569;  // 1899-12-30 .. 1970-01-01

// Civil date from days since 1970-01-01 (Howard Hinnant's days-to-civil algorithm).
void CivilFromDays(int64_t z, CalendarTime& out) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t d = doy - (153 * mp + 2) / 5 + 1;
    const int64_t m = mp < 10 ? mp + 3 : mp - 9;
    out.year = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    out.month = static_cast<int>(m);
    out.day = static_cast<int>(d);
}

// Days since 1970-01-01 of a civil date (Howard Hinnant's days-from-civil algorithm).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

}  // namespace

CalendarTime SplitDateTime(double value) {
    if (std::isnan(value)) value = 0.0;
    if (value < kEarliestDateTime) value = kEarliestDateTime;
    if (value > kLatestDateTime) value = kLatestDateTime;
    const double whole = std::trunc(value);
    int64_t day = static_cast<int64_t>(whole);
    int64_t seconds = std::llround(std::fabs(value - whole) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {  // rounded up to the next midnight
        seconds -= kSecondsPerDay;
        day += 1;
    }
    CalendarTime out;
    CivilFromDays(day - kDaysFrom1899To1970, out);
    out.hour = static_cast<int>(seconds / 3600);
    out.minute = static_cast<int>(seconds / 60 % 60);
    out.second = static_cast<int>(seconds % 60);
    return out;
}

double JoinDateTime(const CalendarTime& time) {
    const int64_t day = DaysFromCivil(time.year, time.month, time.day) + kDaysFrom1899To1970;
    const double fraction =
        static_cast<double>(time.hour * 3600 + time.minute * 60 + time.second) / kSecondsPerDay;
    return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

}  // namespace ruvelto::commands
