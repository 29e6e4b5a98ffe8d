#pragma once
// Step 3 of the work: the analysed RINEX file rewritten with the STOP and GO events at the
// epoch lines that the analysis reported.

#include "analysis_result.h"
#include "services.h"

namespace marvolt {

// How the events are written.
enum class EventStyle {
    Flags,    // 3 over the flag of every STOP epoch, 2 over that of every GO epoch
    Records,  // separate event records inserted before those epochs
};

struct ModificationOptions {
    bool makeBackup = true;
    EventStyle events = EventStyle::Flags;
};

// Reads the analysed file, checks that every epoch line of the result is still the data
// epoch of its key (else refuses: the file changed since the analysis), backs it up when
// asked, writes the events and replaces the file safely. Event blocks that an earlier run
// inserted are removed first in both styles, so a file is never marked twice. The time
// table plays no part: what is written is what the analysis reported. A backup that fails
// is reported and the work goes on; false when the backup asked for was not made (the file
// was rewritten all the same).
bool modifyRinex(const AnalysisResult& result, const ModificationOptions& options,
                 Services& services);

}  // namespace marvolt
