#include "locale_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform_skip.h"
#include "test_platform.h"

namespace marvolt {
namespace {

TEST(LocaleFromEnvironment, CLocaleGivesColonPointAndEnglishNames) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: Windows takes the user's locale, not LC_ALL");
    for (const char* name : {"C", "C.UTF-8", "POSIX"}) {
        testing::setVariable("LC_ALL", name);
        const LocaleSettings locale = localeFromEnvironment();
        EXPECT_EQ(locale.timeSeparator, ":") << name;
        EXPECT_EQ(locale.decimalSeparator, ".") << name;
        EXPECT_EQ(locale.amString, "AM") << name;
        EXPECT_EQ(locale.pmString, "PM") << name;
        EXPECT_EQ(locale.longMonthNames[0], "January") << name;
        EXPECT_EQ(locale.longMonthNames[11], "December") << name;
        EXPECT_EQ(locale.longDayNames[0], "Sunday") << name;
        EXPECT_EQ(locale.longDayNames[6], "Saturday") << name;
        EXPECT_TRUE(locale.longTimeLeadingZero) << name;
        EXPECT_FALSE(locale.longTimeTwelveHour) << name;
    }
}

TEST(LocaleFromEnvironment, UnknownLocaleKeepsFallbacks) {
    MARVOLT_NOT_ON_WINDOWS("POSIX only: Windows takes the user's locale, not LC_ALL");
    testing::setVariable("LC_ALL", "xx_NOWHERE.UTF-8");
    const LocaleSettings locale = localeFromEnvironment();
    EXPECT_EQ(locale.timeSeparator, ":");
    EXPECT_EQ(locale.decimalSeparator, ".");
    EXPECT_EQ(locale.longMonthNames[4], "May");
}

TEST(ApplyTimeFormat, SeparatorAndLongTimeFormat) {
    const struct {
        std::string format;
        std::string separator;
        bool leadingZero;
        bool twelveHour;
    } rows[] = {
        {"%H:%M:%S", ":", true, false},
        {"%T", ":", true, false},
        {"%R", ":", true, false},
        {"%k.%M.%S", ".", false, false},
        {"%-H:%M", ":", false, false},
        {"%I:%M:%S %p", ":", true, true},
        {"%l h %M", " h ", false, true},
        {"%r", "-", true, true},  // %r is the twelve-hour format given below
        {"%p %OI時%M分", "時", true, true},
        {"%M", ":", true, false},  // no hour: the separator stays
    };
    for (const auto& row : rows) {
        LocaleSettings locale;
        applyTimeFormat(row.format, "%I-%M-%S %p", locale);
        EXPECT_EQ(locale.timeSeparator, row.separator) << row.format;
        EXPECT_EQ(locale.longTimeLeadingZero, row.leadingZero) << row.format;
        EXPECT_EQ(locale.longTimeTwelveHour, row.twelveHour) << row.format;
    }
}

}  // namespace
}  // namespace marvolt
