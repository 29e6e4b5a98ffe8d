#pragma once
// The watch windows of the time table's points on GPS time.

#include <string>
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

// A survey as an analysis left it: what its points are computed against, whatever happens
// to the table afterwards.
struct AnalysedSurvey {
    std::string rinex;             // the analysed observation file (the rover, for rnx2rtkp)
    double observationDate = 0.0;  // days since 1899-12-30
    std::vector<WatchWindow> windows;
};

// The survey of an analysis of `rinex` on `observationDate` whose shifted times are in the
// table: the table's watch windows in the file's time system (read from its header, which
// fails on a time system it does not know).
AnalysedSurvey analysedSurvey(const std::string& rinex, double observationDate,
                              const TimeTable& table);

}  // namespace marvolt
