#pragma once
// The "TIME OF FIRST OBS" header record of a RINEX 2 observation file: the observation
// date and the time of the first observation.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace marvolt {

inline constexpr std::string_view kFirstObservationLabel = "TIME OF FIRST OBS";

inline constexpr std::string_view kEndOfHeaderLabel = "END OF HEADER";

// The header lines of a RINEX file, through the record labelled "END OF HEADER" (or the first
// `mostLines` lines when there is none), each at most its first kilobyte. Fails with the
// errors of line reading.
std::vector<std::string> readHeaderLines(const std::string& path, std::size_t mostLines = 2000);

struct FirstObservation {
    bool found = false;
    double time = 0.0;  // time of day in whole seconds; 00:00:00 when not found
};

// True when the line is a record labelled "TIME OF FIRST OBS" (case-sensitive).
bool isFirstObservationRecord(std::string_view line);

// The date of such a record: items day, month, year.
double readObservationDate(std::string_view line);
// The time of day of such a record in whole seconds: items seconds (the part before the
// first "."), minute, hour.
double readFirstObservationTime(std::string_view line);

// Reads such a record: items day, month, year, then seconds (the part before the first
// "."), minute, hour; gives the time of day in whole seconds. The date goes into
// observationDate as soon as it is built, so an error in the time items keeps it. A missing
// item reads as the empty text, which is no number.
double readFirstObservation(std::string_view line, double& observationDate);

}  // namespace marvolt
