#include "date_time_pattern.h"

#include <cstdio>

#include "date_time.h"

namespace marvolt {

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool isLetter(char c) { return upper(c) >= 'A' && upper(c) <= 'Z'; }

// A number with at least the given count of digits, zeros in front.
std::string padded(int value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", digits, value);
    return text;
}

// One digit group: without a leading zero for a single letter, else two digits.
std::string numberGroup(int value, std::size_t letters) {
    return padded(value, letters == 1 ? 1 : 2);
}

}  // namespace

// A run of one letter (in any case) is one group; its length picks the form. An M group is
// the minutes when the letter before it was H (only non-letters between); three or more
// D or M letters give the long weekday or month name, three or more Y the four-digit year.
std::string formatDateTime(std::string_view pattern, double value, const LocaleSettings& locale) {
    const CalendarDate date = decodeDate(value);
    const TimeOfDay time = timeOfDaySplit(value);
    std::string text;
    char lastLetter = ' ';
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '"') {
            const std::size_t close = pattern.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
            text += pattern.substr(i + 1, end - i - 1);
            i = end == pattern.size() ? end : end + 1;
            continue;
        }
        if (c == ':') {
            text += locale.timeSeparator;
            ++i;
            continue;
        }
        if (!isLetter(c)) {
            text += c;
            ++i;
            continue;
        }
        const char letter = upper(c);
        std::size_t letters = 1;
        while (i + letters < pattern.size() && upper(pattern[i + letters]) == letter) ++letters;
        switch (letter) {
            case 'Y':
                text += letters <= 2 ? padded(date.year % 100, 2) : padded(date.year, 4);
                break;
            case 'D':
                text += letters <= 2 ? numberGroup(date.day, letters)
                                     : locale.longDayNames[date.dayOfWeek];
                break;
            case 'M':
                if (lastLetter == 'H') {
                    text += numberGroup(time.minute, letters);
                } else {
                    text += letters <= 2     ? numberGroup(date.month, letters)
                            : date.month > 0 ? locale.longMonthNames[date.month - 1]
                                             : std::string();
                }
                break;
            case 'H':
                text += numberGroup(time.hour, letters);
                break;
            case 'S':
                text += numberGroup(time.second, letters);
                break;
            default:
                text += pattern.substr(i, letters);
                break;
        }
        lastLetter = letter;
        i += letters;
    }
    return text;
}

}  // namespace marvolt
