#pragma once
// Date-time values: a double counting days from 30 December 1899, the fraction being the
// time of day. Building, splitting and reading them.

#include <cstdint>
#include <string>
#include <string_view>

#include "locale_settings.h"

namespace marvolt {

constexpr std::int32_t kMillisecondsPerDay = 86'400'000;

struct CalendarDate {
    int year = 1899;
    int month = 12;
    int day = 30;
    int dayOfWeek = 0;  // 0 = Sunday
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Date building: year 1..9999, month 1..12, an existing day; else
// "Invalid argument to date encode".
double encodeDate(int year, int month, int day);
// The calendar date of a date-time value (its whole days, the fraction cut off also for a
// negative value); all fields 0 outside the years 1..9999.
CalendarDate decodeDate(double value);

// Time building: hour 0..23, minute and second 0..59, millisecond 0..999; else
// "Invalid argument to time encode".
double encodeTime(int hour, int minute, int second, int millisecond);

// The time of day of a value as whole milliseconds: rounded to the millisecond (ties to
// even), the absolute value of a negative count, modulo one day.
std::int32_t millisecondsOfDay(double value);
// Time-of-day split: hours, minutes, seconds and milliseconds of millisecondsOfDay.
TimeOfDay timeOfDaySplit(double value);
// The date-time value of a count of milliseconds since midnight.
double timeValue(std::int32_t milliseconds);

// Time text reading: [AM/PM] h[:m[:s[.ms]]] [AM/PM], blanks around every part, numbers
// below 1000, milliseconds as a whole number. Fails with "'<text>' is not a valid time".
double readTimeText(std::string_view text, const LocaleSettings& locale);

// The long time format of the locale (used to show time fields).
std::string longTimeText(std::int32_t milliseconds, const LocaleSettings& locale);

}  // namespace marvolt
