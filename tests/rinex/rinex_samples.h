#pragma once
// Small RINEX 2 and 3 observation files made line by line, and time tables, for the rinex tests.

#include <string>
#include <string_view>
#include <vector>

#include "time_table.h"

namespace marvolt::testing {

// A header record: the values padded with blanks to 60 bytes, then the label.
std::string headerRecord(std::string_view values, std::string_view label);

// The "TIME OF FIRST OBS" record (5I6,F13.7 then GPS) with the seconds as written.
std::string firstObservationRecord(int year, int month, int day, int hour, int minute,
                                   std::string_view seconds);

// How an epoch line writes month, day, hour, minute and seconds: right-aligned in blank
// fields (the standard layout) or with leading zeros.
enum class Padding { Blank, Zero };

// An epoch line of one satellite, G05, with its flag in column 29 (35 bytes).
std::string epochLine(int year, int month, int day, int hour, int minute, int second,
                      Padding padding, char flag = '0');

// A version 3 epoch record "> YYYY MM DD HH MM SS.SSSSSSS  F NNN" with its flag in column 32
// and the count in columns 33 to 35 (35 bytes).
std::string epochRecord(int year, int month, int day, int hour, int minute, int second,
                        Padding padding, char flag = '0', int count = 1);

// The satellite line that follows each version 3 epoch record in these files.
inline const std::string kSatelliteLine = "G05  23629347.915 8  23629364.158 8";

// The observation line that follows each epoch line in these files.
inline const std::string kObservationLine = "  23629347.915 8  23629364.158 8";

// Every line followed by the terminator.
std::string joinLines(const std::vector<std::string>& lines, std::string_view terminator);

struct Point {
    std::string name;  // Windows-1250 bytes
    std::string stop;  // time texts as typed; "" leaves the field empty
    std::string go;
};

// Posts the points one after the other (each takes its place in STOP order).
void addPoints(TimeTable& table, const std::vector<Point>& points);

// The table as "name STOP GO STOP2 GO2" rows in STOP order, times in the long time format.
std::vector<std::string> tableRows(const TimeTable& table);

}  // namespace marvolt::testing
