#pragma once
// Step 2 of the work: the RINEX file's first observation, the clock shift, STOP2 and GO2,
// and the epoch lines of every STOP and GO.

#include <string>

#include "analysis_result.h"
#include "result_view.h"
#include "services.h"
#include "table_cursor.h"
#include "time_table.h"

namespace marvolt {

// Analyses the RINEX file at `path` against the table: writes STOP2 and GO2 into every
// record, reports the data epochs of every STOP and GO, and says what is missing.
// `observationDate` is the date the window holds: it stays for a file without "TIME OF
// FIRST OBS" and is replaced as soon as the header's date is read. A receiver time below
// zero (a GO before its STOP) never matches. The file's first line decides the layout of its
// epoch lines (RINEX 2 or 3); a file that is no observation file, is compressed or has a
// version that cannot be read ends it with one Failure before anything is shown or written
// (see layoutOfFile). Reading errors end it with a Failure, leaving what was done before.
// A grid's `cursor` is moved to the first record when the keys are made and to the last
// once STOP2 and GO2 are written.
AnalysisResult analyseRinex(const std::string& path, TimeTable& table, double& observationDate,
                            ResultView& view, Services& services, TableCursor* cursor = nullptr);

}  // namespace marvolt
