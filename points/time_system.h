#pragma once
// Watch windows on GPS time: the receiver's time of day on the observation date, moved from
// the RINEX file's own time system onto GPS time, and GPS time written for the user.

#include <string>
#include <string_view>

#include "solution.h"

namespace marvolt {

// The time systems a RINEX observation file may date its epochs in.
enum class TimeSystem { Gps, Glonass, Galileo, BeiDou, Qzss };

// The time system named in columns 49-51 of a "TIME OF FIRST OBS" record ("GPS", "GLO",
// "GAL", "BDT", "QZS"); blank columns mean the file's own system, `fileSystem` being the
// satellite system letter of "RINEX VERSION / TYPE" (R: GLONASS, E: Galileo, else GPS).
// Any other name fails with "Nieznany system czasu "<name>" w pliku RINEX".
TimeSystem timeSystemOfRecord(std::string_view firstObservationRecord, char fileSystem);

// Reads the header of the RINEX observation file at `path` up to "END OF HEADER" for its
// time system; GPS when it has no "TIME OF FIRST OBS". Failures of line reading pass.
TimeSystem readTimeSystem(const std::string& path);

// A date-time (days since 1899-12-30) in `system` as GPS seconds. GLONASS epochs are UTC in
// a RINEX file, so they gain the leap seconds; BeiDou time is 14 s behind GPS time.
GpsSeconds gpsSeconds(double dateTime, TimeSystem system);

// GPS seconds as a date-time in GPS time (days since 1899-12-30).
double gpsDateTime(GpsSeconds time);

// GPS time as ISO 8601 with the date and a tenth of a second: "2023-07-11T06:07:51.0".
std::string isoGpsTime(GpsSeconds time);

}  // namespace marvolt
