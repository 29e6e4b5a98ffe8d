#include "date_time.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "failure.h"

namespace marvolt {

namespace {

constexpr std::int64_t kDaysFromCivilEpochToDayZero = 25569;  // 1970-01-01 is day 25569
constexpr std::int64_t kFirstDay = -693593;                   // 1 January 0001
constexpr std::int64_t kLastDay = 2958465;                    // 31 December 9999
constexpr int kSaturday = 6;                                  // day 0 was a Saturday
constexpr std::int32_t kMillisecondsPerHour = 3'600'000;
constexpr std::int32_t kMillisecondsPerMinute = 60'000;
constexpr std::int32_t kMillisecondsPerSecond = 1'000;
constexpr int kNumberLimit = 1000;

bool isLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1 January 1970 in the proleptic Gregorian calendar, and back.
std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CalendarDate civilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    CalendarDate date;
    date.day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    date.month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2));
    return date;
}

// Rounds to the nearest whole number, a tie going to the even one, whatever the
// floating-point rounding mode is.
double roundHalfToEven(double x) {
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) return below + 1.0;
    return below;
}

// Reads time text: every scan step skips the blanks before what it looks for.
class TimeScanner {
  public:
    explicit TimeScanner(std::string_view text) : text_(text) {}

    void skipBlanks() {
        while (position_ < text_.size() && text_[position_] == ' ') ++position_;
    }
    bool atEnd() const { return position_ == text_.size(); }

    // Reads a word (ASCII letters compared without case).
    bool scanWord(std::string_view word) {
        skipBlanks();
        if (word.empty() || text_.size() - position_ < word.size()) return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (lower(text_[position_ + i]) != lower(word[i])) return false;
        }
        position_ += word.size();
        return true;
    }
    bool scanSeparator(std::string_view separator) {
        skipBlanks();
        if (separator.empty() || text_.substr(position_, separator.size()) != separator) {
            return false;
        }
        position_ += separator.size();
        return true;
    }
    // One or more digits; fails when the number reaches 1000.
    bool scanNumber(int& number) {
        skipBlanks();
        const std::size_t start = position_;
        number = 0;
        while (position_ < text_.size() && text_[position_] >= '0' && text_[position_] <= '9') {
            number = number * 10 + (text_[position_] - '0');
            if (number >= kNumberLimit) return false;
            ++position_;
        }
        return position_ > start;
    }
    // The hour base of an AM/PM word at the current place: 0 for AM, 12 for PM, -1 for none.
    int scanAmPm(const LocaleSettings& locale) {
        if (scanWord(locale.amString) || scanWord("AM")) return 0;
        if (scanWord(locale.pmString) || scanWord("PM")) return 12;
        return -1;
    }

  private:
    static char lower(char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }

    std::string_view text_;
    std::size_t position_ = 0;
};

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

}  // namespace

double encodeDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > daysInMonth(year, month)) {
        throw Failure("Invalid argument to date encode");
    }
    return static_cast<double>(daysFromCivil(year, month, day) + kDaysFromCivilEpochToDayZero);
}

CalendarDate decodeDate(double value) {
    const double whole = std::trunc(value);
    if (!(whole >= kFirstDay && whole <= kLastDay)) return CalendarDate{0, 0, 0, 0};
    const auto days = static_cast<std::int64_t>(whole);
    CalendarDate date = civilFromDays(days - kDaysFromCivilEpochToDayZero);
    date.dayOfWeek = static_cast<int>(((days + kSaturday) % 7 + 7) % 7);
    return date;
}

double encodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        millisecond < 0 || millisecond > 999) {
        throw Failure("Invalid argument to time encode");
    }
    return timeValue(hour * kMillisecondsPerHour + minute * kMillisecondsPerMinute +
                     second * kMillisecondsPerSecond + millisecond);
}

std::int32_t millisecondsOfDay(double value) {
    const double milliseconds = std::fabs(roundHalfToEven(value * kMillisecondsPerDay));
    if (!std::isfinite(milliseconds)) return 0;
    return static_cast<std::int32_t>(std::fmod(milliseconds, kMillisecondsPerDay));
}

TimeOfDay timeOfDaySplit(double value) {
    const std::int32_t milliseconds = millisecondsOfDay(value);
    TimeOfDay time;
    time.hour = milliseconds / kMillisecondsPerHour;
    time.minute = milliseconds % kMillisecondsPerHour / kMillisecondsPerMinute;
    time.second = milliseconds % kMillisecondsPerMinute / kMillisecondsPerSecond;
    time.millisecond = milliseconds % kMillisecondsPerSecond;
    return time;
}

double timeValue(std::int32_t milliseconds) {
    return static_cast<double>(milliseconds) / kMillisecondsPerDay;
}

double readTimeText(std::string_view text, const LocaleSettings& locale) {
    const auto fail = [&]() { return Failure("'" + std::string(text) + "' is not a valid time"); };
    TimeScanner scanner(text);
    int base = scanner.scanAmPm(locale);
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    if (!scanner.scanNumber(hour)) throw fail();
    if (scanner.scanSeparator(locale.timeSeparator)) {
        if (!scanner.scanNumber(minute)) throw fail();
        if (scanner.scanSeparator(locale.timeSeparator)) {
            if (!scanner.scanNumber(second)) throw fail();
            if (scanner.scanSeparator(locale.decimalSeparator) &&
                !scanner.scanNumber(millisecond)) {
                throw fail();
            }
        }
    }
    if (base < 0) base = scanner.scanAmPm(locale);
    if (base >= 0) {
        if (hour < 1 || hour > 12) throw fail();
        hour = hour % 12 + base;
    }
    scanner.skipBlanks();
    if (!scanner.atEnd()) throw fail();
    try {
        return encodeTime(hour, minute, second, millisecond);
    } catch (const Failure&) {
        throw fail();
    }
}

std::string longTimeText(std::int32_t milliseconds, const LocaleSettings& locale) {
    const TimeOfDay time = timeOfDaySplit(timeValue(milliseconds));
    int hour = time.hour;
    if (locale.longTimeTwelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
    std::string text = locale.longTimeLeadingZero ? twoDigits(hour) : std::to_string(hour);
    text += locale.timeSeparator + twoDigits(time.minute) + locale.timeSeparator +
            twoDigits(time.second);
    if (locale.longTimeTwelveHour) {
        const bool afternoon = time.hour >= 12;
        const std::string& marker = afternoon ? locale.pmString : locale.amString;
        text += " " + (marker.empty() ? std::string(afternoon ? "PM" : "AM") : marker);
    }
    return text;
}

}  // namespace marvolt
