#pragma once
// The time table saved as a time file, in the form the import reads back to the same table.

#include <functional>
#include <optional>
#include <string>

#include "line_list.h"
#include "time_table.h"

namespace marvolt {

// The posted records as time-file lines "name STOP GO", one blank between the items: the
// name as its stored Windows-1250 bytes, the times as HH:MM:SS with the locale's time
// separator, followed by the decimal separator and three digits only for a time that has
// milliseconds. Records with equal STOP are written in reverse table order, as the import
// puts them in reverse file order. A record the import could not read back the same (no
// name, an empty STOP or GO, a name with a blank, a tab, a control byte or a quote) fails
// the whole table with one Failure that names every such record.
LineList timeFileLines(const TimeTable& table);

// Saves the table as a time file: finishes a record still being edited or inserted, checks
// every record (timeFileLines), then asks for the file (nothing when cancelled), writes it
// by line writing and takes the typed marks off the records.
void saveTimeFile(TimeTable& table, const std::function<std::optional<std::string>()>& choosePath);

}  // namespace marvolt
