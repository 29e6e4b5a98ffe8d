#include "date_time_pattern.h"

#include <gtest/gtest.h>

#include "date_time.h"

namespace marvolt {
namespace {

TEST(FormatDateTime, EveryGroup) {
    const LocaleSettings english;
    LocaleSettings polish;
    polish.timeSeparator = ".";
    polish.longMonthNames[3] = "kwietnia";
    polish.longDayNames[2] = "wtorek";
    // 3 April 2012 (a Tuesday), 07:05:09.250
    const double value = encodeDate(2012, 4, 3) + encodeTime(7, 5, 9, 250);
    const struct {
        std::string pattern;
        const LocaleSettings* locale;
        std::string text;
    } rows[] = {
        {"YY", &english, "12"},
        {"y", &english, "12"},
        {"YYYY", &english, "2012"},
        {"yyy", &english, "2012"},
        {"D", &english, "3"},
        {"DD", &english, "03"},
        {"dddd", &english, "Tuesday"},
        {"ddd", &english, "Tuesday"},
        {"M", &english, "4"},
        {"MM", &english, "04"},
        {"mmmm", &english, "April"},
        {"mmm", &english, "April"},
        {"H", &english, "7"},
        {"HH", &english, "07"},
        {"s", &english, "9"},
        {"SS", &english, "09"},
        {"H:MM:SS", &english, "7:05:09"},
        {"H:M", &english, "7:5"},
        {"hh mm", &english, "07 05"},  // minutes right after an H group
        {"HH MM ", &english, "07 05 "},
        {"HH\"x\"MM", &english, "07x05"},  // a quoted literal is no letter
        {"HH x MM", &english, "07 x 04"},  // another letter between: the month
        {"MM HH", &english, "04 07"},
        {"H:MM:SS", &polish, "7.05.09"},  // ':' is the locale's separator
        {" YY MM DD ", &english, " 12 04 03 "},
        {"d mmmm yyyy \"r. (\"dddd\")\"", &english, "3 April 2012 r. (Tuesday)"},
        {"d mmmm yyyy \"r. (\"dddd\")\"", &polish, "3 kwietnia 2012 r. (wtorek)"},
        {"\"HH:MM\" D", &english, "HH:MM 3"},
        {"\"open", &english, "open"},  // an unclosed literal runs to the end
        {"D.MM.YYYY", &english, "3.04.2012"},
        {"abc-()[]", &english, "abc-()[]"},  // other characters are copied
        {"", &english, ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(formatDateTime(row.pattern, value, *row.locale), row.text) << row.pattern;
    }
}

TEST(FormatDateTime, TimeFromTheSplitDateFromWholeDays) {
    const LocaleSettings locale;
    EXPECT_EQ(formatDateTime("H:MM:SS", 0.5, locale), "12:00:00");
    EXPECT_EQ(formatDateTime("H:MM:SS", -0.25, locale), "6:00:00");
    EXPECT_EQ(formatDateTime("HH:MM:SS", 0.999999999, locale), "00:00:00");
    EXPECT_EQ(formatDateTime("D.MM.YYYY", encodeDate(2012, 5, 7), locale), "7.05.2012");
    EXPECT_EQ(formatDateTime("YY MM DD", encodeDate(2009, 11, 28) + 0.75, locale), "09 11 28");
    EXPECT_EQ(formatDateTime("YYYY", encodeDate(812, 1, 1), locale), "0812");
    EXPECT_EQ(formatDateTime("YY", encodeDate(2000, 1, 1), locale), "00");
}

}  // namespace
}  // namespace marvolt
