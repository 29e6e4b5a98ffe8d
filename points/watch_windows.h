#pragma once
// The watch windows of the time table's points on GPS time.

#include <vector>

#include "epoch_collector.h"
#include "time_system.h"
#include "time_table.h"

namespace marvolt {

// The window of every posted record in STOP order: its STOP2 and GO2 (the receiver's times
// of day, an empty one read as 00:00:00) on `observationDate`, moved from the RINEX file's
// `system` onto GPS time.
std::vector<WatchWindow> watchWindows(const TimeTable& table, double observationDate,
                                      TimeSystem system);

}  // namespace marvolt
