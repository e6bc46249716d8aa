// Date-time values: a double counting days from 1899-12-30, the fraction being the time of day.
// Portable.
#pragma once

namespace ruvelto::commands {

// Date-times are clamped to this range before being split into calendar fields.
constexpr double kEarliestDateTime = -657434.0;  // 0100-01-01 00:00:00
constexpr double kLatestDateTime = 2958465.0;    // 9999-12-31 00:00:00

struct CalendarTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Clamps the value, then splits it (proleptic Gregorian calendar, time rounded to the nearest
// second). As with the platform's date-times, a negative value's fraction still counts forward
// from midnight: -1.25 is 1899-12-29 06:00. Not-a-number counts as day 0.
CalendarTime SplitDateTime(double value);

// The date-time value of calendar fields, the inverse of SplitDateTime (before 1899-12-30 the time
// of day is again counted forward from midnight). Fields are taken as they are, unchecked.
double JoinDateTime(const CalendarTime& time);

}  // namespace ruvelto::commands
