#pragma once
// Step 3 of the work: the analysed RINEX file rewritten with flag 3 on every STOP epoch
// line and flag 2 on every GO epoch line.

#include "services.h"
#include "time_table.h"
#include "work_state.h"

namespace marvolt {

// Backs up the analysed file (when asked), flags its epoch lines and replaces it safely.
// A backup that fails is reported and the work goes on; false when the backup asked for
// was not made (the file was rewritten all the same).
bool modifyRinex(TimeTable& table, const WorkState& state, bool makeBackup, Services& services);

}  // namespace marvolt
