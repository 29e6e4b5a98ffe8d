#pragma once
// Step 3 of the work: the analysed RINEX file rewritten with flag 3 on every STOP epoch
// line and flag 2 on every GO epoch line that the analysis reported.

#include "analysis_result.h"
#include "services.h"

namespace marvolt {

// Reads the analysed file, checks that every epoch line of the result is still the data
// epoch of its key (else refuses: the file changed since the analysis), backs it up when
// asked, flags the lines and replaces the file safely. The time table plays no part: what
// is written is what the analysis reported.
void modifyRinex(const AnalysisResult& result, bool makeBackup, Services& services);

}  // namespace marvolt
