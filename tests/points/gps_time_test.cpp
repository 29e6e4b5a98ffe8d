// Calendar dates, GPS weeks and leap seconds on GPS time.

#include "gps_time.h"

#include <gtest/gtest.h>

#include "date_time.h"

namespace marvolt {
namespace {

TEST(GpsTimeTest, DaysAndWeeks) {
    EXPECT_EQ(kGpsStartDateTime, encodeDate(1980, 1, 6));
    const struct {
        int year, month, day;
        int week;
        double secondsOfWeek;
    } days[] = {{1980, 1, 6, 0, 0},         {1980, 3, 1, 7, 518400}, {1999, 8, 22, 1024, 0},
                {2005, 4, 2, 1316, 518400}, {2019, 4, 7, 2048, 0},   {2023, 7, 11, 2270, 172800},
                {2100, 3, 1, 6269, 86400}};
    for (const auto& d : days) {
        SCOPED_TRACE(d.year);
        EXPECT_EQ(daySeconds(d.year, d.month, d.day), weekSeconds(d.week, d.secondsOfWeek));
        EXPECT_EQ(dateTimeSeconds(encodeDate(d.year, d.month, d.day)),
                  daySeconds(d.year, d.month, d.day));
    }
}

// GPS minus UTC on each side of leap seconds: a second before a new one, and at it.
TEST(GpsTimeTest, LeapSeconds) {
    const struct {
        int year, month, day;
        double secondOfDay;
        int leap;
    } instants[] = {{1980, 1, 6, 0, 0},        {1981, 6, 30, 86399, 0}, {1981, 7, 1, 0, 1},
                    {1998, 12, 31, 86399, 12}, {1999, 1, 1, 0, 13},     {2005, 4, 1, 86387, 13},
                    {2016, 12, 31, 86399, 17}, {2017, 1, 1, 0, 18},     {2026, 12, 8, 0, 18}};
    for (const auto& i : instants) {
        SCOPED_TRACE(i.year);
        const double utc = daySeconds(i.year, i.month, i.day) + i.secondOfDay;
        EXPECT_EQ(leapSeconds(utc), i.leap);
        EXPECT_EQ(gpsFromUtc(utc), utc + i.leap);
    }
}

}  // namespace
}  // namespace marvolt
