#include "date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "failure.h"
#include "failure_text.h"

namespace marvolt {
namespace {

using testing::failureText;

TEST(EncodeDate, CountsDaysFromThirtiethDecember1899) {
    const struct {
        int year, month, day;
        double value;
    } rows[] = {
        {1899, 12, 30, 0},       {1899, 12, 31, 1},   {1900, 1, 1, 2},      {1900, 3, 1, 61},
        {2000, 1, 1, 36526},     {2012, 4, 3, 41002}, {2000, 2, 29, 36585}, {1, 1, 1, -693593},
        {9999, 12, 31, 2958465}, {1899, 12, 29, -1},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(encodeDate(row.year, row.month, row.day), row.value)
            << row.year << "-" << row.month << "-" << row.day;
    }
}

TEST(EncodeDate, RefusesDaysThatDoNotExist) {
    const int rows[][3] = {{2013, 2, 29}, {1900, 2, 29}, {2012, 4, 31}, {2012, 13, 1},
                           {2012, 0, 1},  {2012, 1, 0},  {0, 1, 1},     {10000, 1, 1}};
    for (const auto& row : rows) {
        EXPECT_EQ(failureText([&] { encodeDate(row[0], row[1], row[2]); }),
                  "Invalid argument to date encode")
            << row[0] << "-" << row[1] << "-" << row[2];
    }
}

TEST(DecodeDate, IsTheInverseOfEncodeOverTheWholeRange) {
    CalendarDate previous = decodeDate(-693593);
    EXPECT_EQ(previous.year, 1);
    EXPECT_EQ(previous.dayOfWeek, 1);  // 1 January 0001 was a Monday (proleptic)
    for (int day = -693592; day <= 2958465; ++day) {
        const CalendarDate date = decodeDate(day);
        ASSERT_EQ(encodeDate(date.year, date.month, date.day), day);
        ASSERT_EQ(date.dayOfWeek, (previous.dayOfWeek + 1) % 7) << day;
        previous = date;
    }
    EXPECT_EQ(previous.year, 9999);
}

TEST(DecodeDate, UsesWholeDaysAndWeekday) {
    const struct {
        double value;
        int year, month, day, dayOfWeek;
    } rows[] = {
        {0, 1899, 12, 30, 6},                                // a Saturday
        {0.99, 1899, 12, 30, 6}, {-0.25, 1899, 12, 30, 6},   // the fraction is cut off towards zero
        {-1.5, 1899, 12, 29, 5}, {41002.75, 2012, 4, 3, 2},  // a Tuesday
        {41036, 2012, 5, 7, 1},
    };
    for (const auto& row : rows) {
        const CalendarDate date = decodeDate(row.value);
        EXPECT_EQ(date.year, row.year) << row.value;
        EXPECT_EQ(date.month, row.month) << row.value;
        EXPECT_EQ(date.day, row.day) << row.value;
        EXPECT_EQ(date.dayOfWeek, row.dayOfWeek) << row.value;
    }
    const CalendarDate outside = decodeDate(1e300);
    EXPECT_EQ(outside.year, 0);
    EXPECT_EQ(decodeDate(std::nan("")).month, 0);
}

TEST(EncodeTime, BuildsFractionOfDayAndRefusesOutOfRange) {
    EXPECT_EQ(encodeTime(0, 0, 0, 0), 0.0);
    EXPECT_EQ(encodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(encodeTime(6, 0, 0, 0), 0.25);
    EXPECT_EQ(encodeTime(23, 59, 59, 999), 86399999.0 / 86400000.0);
    EXPECT_EQ(millisecondsOfDay(encodeTime(10, 15, 5, 5)), 36905005);
    const int rows[][4] = {{24, 0, 0, 0},   {0, 60, 0, 0}, {0, 0, 60, 0},
                           {0, 0, 0, 1000}, {-1, 0, 0, 0}, {0, 0, 0, -1}};
    for (const auto& row : rows) {
        EXPECT_EQ(failureText([&] { encodeTime(row[0], row[1], row[2], row[3]); }),
                  "Invalid argument to time encode")
            << row[0] << ":" << row[1] << ":" << row[2] << "." << row[3];
    }
}

TEST(MillisecondsOfDay, RoundsTiesToEvenAndDropsDayAndSign) {
    const double tie = std::ldexp(1.0, -11);  // exactly 42187.5 ms
    const struct {
        double value;
        std::int32_t milliseconds;
    } rows[] = {
        {tie, 42188},       // 42187.5 -> even 42188
        {3 * tie, 126562},  // 126562.5 -> even 126562
        {5 * tie, 210938},
        {7 * tie, 295312},
        {-3 * tie, 126562},     // the absolute value of a negative count
        {1 + 3 * tie, 126562},  // the day is dropped
        {0.5, 43200000},
        {-0.25, 21600000},
        {1.25, 21600000},
        {-1.25, 21600000},
        {0.999999999, 0},  // rounds up to midnight of the next day
        {0.99999999, 86399999},
        {41002.4375, 37800000},
        {0, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(millisecondsOfDay(row.value), row.milliseconds) << row.value;
    }
    for (const double odd : {1e300, -1e300, 1e18 + 0.3}) {
        const std::int32_t milliseconds = millisecondsOfDay(odd);
        EXPECT_GE(milliseconds, 0) << odd;
        EXPECT_LT(milliseconds, kMillisecondsPerDay) << odd;
    }
    EXPECT_EQ(millisecondsOfDay(std::numeric_limits<double>::infinity()), 0);
}

TEST(TimeOfDaySplit, TruncatesIntoParts) {
    const TimeOfDay late = timeOfDaySplit(0.999999);  // 86399913.6 ms -> 86399914
    EXPECT_EQ(late.hour, 23);
    EXPECT_EQ(late.minute, 59);
    EXPECT_EQ(late.second, 59);
    EXPECT_EQ(late.millisecond, 914);
    const TimeOfDay six = timeOfDaySplit(-0.25);
    EXPECT_EQ(six.hour, 6);
    EXPECT_EQ(six.minute + six.second + six.millisecond, 0);
    const TimeOfDay noon = timeOfDaySplit(timeValue(45296789));
    EXPECT_EQ(noon.hour, 12);
    EXPECT_EQ(noon.minute, 34);
    EXPECT_EQ(noon.second, 56);
    EXPECT_EQ(noon.millisecond, 789);
}

TEST(TimeValue, EveryMillisecondOfTheDayComesBack) {
    for (std::int32_t ms = 0; ms < kMillisecondsPerDay; ms += 997) {
        ASSERT_EQ(millisecondsOfDay(timeValue(ms)), ms);
    }
    EXPECT_EQ(millisecondsOfDay(timeValue(kMillisecondsPerDay - 1)), kMillisecondsPerDay - 1);
}

TEST(ReadTimeText, AcceptedForms) {
    LocaleSettings english;
    english.amString = "AM";
    english.pmString = "PM";
    LocaleSettings dotted;
    dotted.timeSeparator = ".";
    dotted.decimalSeparator = ",";
    dotted.amString = "rano";
    dotted.pmString = "po";
    const LocaleSettings plain;
    LocaleSettings comma;
    comma.decimalSeparator = ",";
    const struct {
        std::string text;
        const LocaleSettings* locale;
        std::int32_t milliseconds;
    } rows[] = {
        {"10", &plain, 36000000},
        {"7:5:3", &plain, 25503000},
        {"07:05", &plain, 25500000},
        {" 10:15", &plain, 36900000},
        {"10:15:05.5", &plain, 36905005},  // milliseconds as a whole number
        {"10:15:05.500", &plain, 36905500},
        {"10:15:05.0005", &plain, 36905005},  // leading zeros do not count
        {"  1 :  2 : 3 . 4  ", &plain, 3723004},
        {"23:59:59.999", &plain, 86399999},
        {"0", &plain, 0},
        {"000999:0:0.0", &plain, -1},  // hour 999 passes reading, fails building
        {"12 AM", &plain, 0},
        {"12 PM", &plain, 43200000},
        {"1 pm", &plain, 46800000},
        {"am 1:30", &plain, 5400000},
        {"PM 11:59:59", &plain, 86399000},
        {"11:00pM", &plain, 82800000},
        {"AM12:00", &english, 0},
        {"10:15:05,5", &comma, 36905005},
        {"10.15.05,5", &dotted, 36905005},
        {"po 3.00", &dotted, 54000000},
        {"3.00 RANO", &dotted, 10800000},
        {"3.00 PM", &dotted, 54000000},  // AM/PM always accepted
    };
    for (const auto& row : rows) {
        if (row.milliseconds < 0) {
            EXPECT_THROW(readTimeText(row.text, *row.locale), Failure) << row.text;
            continue;
        }
        EXPECT_EQ(millisecondsOfDay(readTimeText(row.text, *row.locale)), row.milliseconds)
            << row.text;
    }
}

TEST(ReadTimeText, RefusedFormsNameTheText) {
    const LocaleSettings locale;
    const std::string rows[] = {
        "",      "   ",      "24:00:00",     "10:",  "10::15",  "10:15:",     "10:15:05.",
        ":10",   "10:60",    "10:00:60",     "1000", "10:1000", "0:0:0.1000", "0 AM",
        "13 PM", "AM 10 PM", "10 AM PM",     "AM",   "10:15 x", "10.15",      "10:15:05,5",
        "-1",    "1 0",      "10:15:05.5.5", "\t10", "10h",
    };
    for (const auto& text : rows) {
        EXPECT_EQ(failureText([&] { readTimeText(text, locale); }),
                  "'" + text + "' is not a valid time")
            << text;
    }
}

TEST(LongTimeText, FollowsLocaleFormat) {
    LocaleSettings locale;
    EXPECT_EQ(longTimeText(25503000, locale), "07:05:03");
    EXPECT_EQ(longTimeText(0, locale), "00:00:00");
    EXPECT_EQ(longTimeText(86399999, locale), "23:59:59");  // milliseconds are not shown
    locale.timeSeparator = ".";
    locale.longTimeLeadingZero = false;
    EXPECT_EQ(longTimeText(25503000, locale), "7.05.03");
    locale.timeSeparator = ":";
    locale.longTimeTwelveHour = true;
    EXPECT_EQ(longTimeText(0, locale), "12:00:00 AM");
    EXPECT_EQ(longTimeText(43200000, locale), "12:00:00 PM");
    EXPECT_EQ(longTimeText(46800000, locale), "1:00:00 PM");
    locale.amString = "rano";
    locale.pmString = "wiecz.";
    EXPECT_EQ(longTimeText(82800000, locale), "11:00:00 wiecz.");
    EXPECT_EQ(longTimeText(3600000, locale), "1:00:00 rano");
}

}  // namespace
}  // namespace marvolt
