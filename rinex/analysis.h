#pragma once
// Step 2 of the work: the RINEX file's first observation, the clock shift, STOP2 and GO2,
// and the epoch lines of every STOP and GO.

#include "services.h"
#include "time_table.h"
#include "work_state.h"

namespace marvolt {

inline constexpr const char* kRinexFilter =
    "Pliki RINEX 2012|*.12o|Pliki RINEX 2011|*.11o|Pliki RINEX|*.*o|Wszystkie pliki|*.*";

enum class AnalysisOutcome { Cancelled, NoErrors, MissingEpochs };

// Asks for the RINEX file and analyses it against the table. Reading errors end it with a
// Failure, leaving what was done before.
AnalysisOutcome analyseRinex(TimeTable& table, WorkState& state, ResultView& view,
                             Services& services);

}  // namespace marvolt
