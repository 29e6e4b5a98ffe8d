#pragma once
// The time table as the window's grid shows it, as tab-separated lines.

#include <ostream>

#include "time_table.h"

namespace marvolt::cli {

// A line of the five column titles, then one line a record in STOP order: the point name
// decoded from Windows-1250 and the four times, separated by one tab (an empty field is
// an empty text).
void printTable(const TimeTable& table, std::ostream& out);

}  // namespace marvolt::cli
