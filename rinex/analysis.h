#pragma once
// Step 2 of the work: the RINEX file's first observation, the clock shift, and the epoch
// lines of every STOP and GO. The analysis only reads; what it found is a value that the
// front ends render (analysis_report.h) and that the modification writes.

#include <string>

#include "analysis_result.h"
#include "progress.h"
#include "time_table.h"

namespace marvolt {

// The observation date a front end holds from one analysis to the next: 30 December 1899
// (0) at first, then the date of the last "TIME OF FIRST OBS" read, which stays for a later
// file without that record. The analysis takes a header's date over as soon as it has read
// it, before the time items that follow, so a file whose time items are wrong still leaves
// its date here although the analysis ends with a Failure and returns nothing.
class HeldDate {
  public:
    HeldDate() = default;
    explicit HeldDate(double date) : date_(date) {}
    double date() const { return date_; }
    void take(double date) { date_ = date; }

  private:
    double date_ = 0.0;
};

// Analyses the RINEX file at `path` against the table: the first observation, the shift,
// the data epochs of every STOP and GO, the marks of an earlier run. Reads the records by
// index and leaves the cursor where it is; a record still open in the grid is posted when
// the keys are made (at "TIME OF FIRST OBS", else at the end of the header's pass). The
// date of the file, or `held` without one, dates the keys. A receiver time below zero (a GO
// before its STOP) never matches. The file's first line decides the layout of its epoch
// lines (RINEX 2 or 3); a file that is no observation file, is compressed or has a version
// that cannot be read ends it with one Failure before anything is read from the table (see
// layoutOfFile). Reading errors end it with a Failure, leaving what was done before. Shows
// nothing: the front end holds the busy cursor while it runs and renders its result.
// `progress` is told the share of the file read and asked whether to stop; a stopped
// analysis gives a result that is `stopped` and holds nothing else (the table untouched
// unless a record still open was posted, `held` perhaps with the file's date).
AnalysisResult analyseRinex(const std::string& path, TimeTable& table, HeldDate& held,
                            Progress& progress = Progress::none());

// Writes STOP2 and GO2, the watch times moved by the result's shift, into every record of
// the table (the table's revision changes: do it before keeping the result to modify).
void writeShiftedTimes(const AnalysisResult& result, TimeTable& table);

}  // namespace marvolt
