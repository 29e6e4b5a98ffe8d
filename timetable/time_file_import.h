#pragma once
// Step 1 of the work: a time file appended to the time table, one record per line.

#include <string>

#include "services.h"
#include "table_cursor.h"
#include "time_table.h"

namespace marvolt {

// Appends to the table a record for every line "name STOP GO"; a bad row is reported at
// once and skipped, a summary follows. A file from an editor that begins with a byte-order
// mark (UTF-16 or UTF-8) is Unicode text: its names are turned into Windows-1250, and a line
// with a character Windows-1250 cannot hold is a bad row. A RINEX file is refused before any line
// is taken. A file that cannot be read ends the import with a Failure, keeping what was appended.
// Each record is inserted at the row of `cursor` (a grid's, which then stands on it as on any
// insert), or at row 0 without one, and goes to its place in STOP order when posted.
void importTimeFile(const std::string& path, TimeTable& table, Services& services,
                    TableCursor* cursor = nullptr);

}  // namespace marvolt
