#pragma once
// Solution times on GPS time: calendar dates, GPS weeks, the date-time values of the survey
// (days since 1899-12-30) and UTC with its leap seconds.

#include "solution.h"

namespace marvolt {

inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kSecondsPerWeek = 604800.0;
// The date-time value (days since 1899-12-30) of 1980-01-06, where GPS time starts.
inline constexpr double kGpsStartDateTime = 29226.0;

// Seconds from 1980-01-06 to the start of a calendar day (a proleptic Gregorian date), on the
// time scale the date is given in.
double daySeconds(int year, int month, int day);

// A GPS week (counted without roll-over) and its seconds.
inline GpsSeconds weekSeconds(int week, double secondsOfWeek) {
    return week * kSecondsPerWeek + secondsOfWeek;
}

// A date-time value (days since 1899-12-30) as seconds since 1980-01-06 on the same time scale.
inline double dateTimeSeconds(double dateTime) {
    return (dateTime - kGpsStartDateTime) * kSecondsPerDay;
}

// GPS time minus UTC, in whole seconds, at a UTC instant counted like GPS seconds: from 0 in
// 1980 to 18 since 2017-01-01.
int leapSeconds(double utc);

// The GPS time of a UTC instant counted like GPS seconds.
inline GpsSeconds gpsFromUtc(double utc) { return utc + leapSeconds(utc); }

}  // namespace marvolt
