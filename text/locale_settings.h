#pragma once
// The user's locale as far as the system uses it: separators, AM/PM words, long month
// and weekday names and the long time format. Kept in one value so that tests can pass
// explicit settings instead of the environment's.

#include <array>
#include <string>
#include <string_view>

namespace marvolt {

struct LocaleSettings {
    std::string timeSeparator = ":";
    std::string decimalSeparator = ".";
    std::string amString;  // empty when the locale gives none ("AM"/"PM" are always accepted)
    std::string pmString;
    // January first; Sunday first. UTF-8.
    std::array<std::string, 12> longMonthNames{"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
    std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
    // Long time format: hour with a leading zero or not; 12-hour clock with the AM/PM
    // marker after the time.
    bool longTimeLeadingZero = true;
    bool longTimeTwelveHour = false;
};

// The settings of the user's environment (LC_TIME and LC_NUMERIC through POSIX; the user's
// locale through GetLocaleInfoEx on Windows), with the fallbacks above where the locale
// gives none.
LocaleSettings localeFromEnvironment();

// Takes the time separator (the text between the hour and the minutes) and the long time
// format from a strftime time format such as the locale's "%H:%M:%S"; %r stands for
// twelveHourFormat. An empty separator keeps the one already set.
void applyTimeFormat(std::string_view timeFormat, std::string_view twelveHourFormat,
                     LocaleSettings& settings);

}  // namespace marvolt
