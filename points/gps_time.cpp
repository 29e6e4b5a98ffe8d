#include "gps_time.h"

namespace marvolt {
namespace {

// Days from 1970-01-01 to a proleptic Gregorian date.
long daysFromCivil(long year, long month, long day) {
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

struct LeapSecond {
    int year, month;  // the UTC day it took effect: the first of the month
};

// Every leap second since GPS time started, in order.
constexpr LeapSecond kLeapSeconds[] = {{1981, 7}, {1982, 7}, {1983, 7}, {1985, 7}, {1988, 1},
                                       {1990, 1}, {1991, 1}, {1992, 7}, {1993, 7}, {1994, 7},
                                       {1996, 1}, {1997, 7}, {1999, 1}, {2006, 1}, {2009, 1},
                                       {2012, 7}, {2015, 7}, {2017, 1}};

}  // namespace

double daySeconds(int year, int month, int day) {
    return static_cast<double>(daysFromCivil(year, month, day) - daysFromCivil(1980, 1, 6)) *
           kSecondsPerDay;
}

int leapSeconds(double utc) {
    int count = 0;
    for (const LeapSecond& leap : kLeapSeconds)
        if (utc >= daySeconds(leap.year, leap.month, 1)) ++count;
    return count;
}

}  // namespace marvolt
