#pragma once
// How the time table's fields are shown in a grid and in marvolt-cli's listing.

#include <string>

#include "time_table.h"

namespace marvolt {

// A field of the record shown at `row` as a grid shows it: the point name as its stored
// Windows-1250 bytes (the front end decodes them), times in the table locale's long time
// format, an empty field as "".
std::string cellText(const TimeTable& table, int row, Field field);

}  // namespace marvolt
