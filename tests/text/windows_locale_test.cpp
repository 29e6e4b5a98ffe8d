// The locale on Windows, from GetLocaleInfoEx: the tests run under Wine's English (LC_ALL=C.UTF-8
// when Wine starts) with the 24-hour time format that tools/windows.sh sets as the user's
// (sTimeFormat HH:mm:ss), as a user of Windows sets it.

#include <gtest/gtest.h>

#include "locale_settings.h"

namespace marvolt {
namespace {

TEST(WindowsLocale, EnglishWithTheUsersTimeFormatAndNamesFromSunday) {
    const LocaleSettings locale = localeFromEnvironment();
    EXPECT_EQ(locale.timeSeparator, ":");
    EXPECT_EQ(locale.decimalSeparator, ".");
    EXPECT_TRUE(locale.longTimeLeadingZero);
    EXPECT_FALSE(locale.longTimeTwelveHour);
    EXPECT_EQ(locale.longMonthNames[0], "January");
    EXPECT_EQ(locale.longMonthNames[11], "December");
    // Windows counts from Monday (LOCALE_SDAYNAME1), the settings from Sunday.
    EXPECT_EQ(locale.longDayNames[0], "Sunday");
    EXPECT_EQ(locale.longDayNames[1], "Monday");
    EXPECT_EQ(locale.longDayNames[6], "Saturday");
}

}  // namespace
}  // namespace marvolt
