#pragma once
// Step 3 of the work: the analysed RINEX file rewritten with the STOP and GO events at the
// epoch lines that the analysis reported.

#include "analysis_result.h"
#include "event_rewrite.h"
#include "services.h"

namespace marvolt {

struct ModificationOptions {
    bool makeBackup = true;
    EventStyle events = EventStyle::Flags;
};

// Writes the analysed file anew with the events of the result, then backs up the original
// (when asked) and puts the new file in its place safely. The time table plays no part:
// what is written is what the analysis reported. A file that is still the one analysed
// (same size, modification time and inode) and needs no line-end change gets its flags in a
// copy made by the file system; any other is read again line by line, and refused, with the
// file and any backup left as they were, when line writing would drop bytes of it or when
// an epoch line of the result is no longer the data epoch of its key. Event blocks that an
// earlier run inserted are taken out in both styles, so a file is never marked twice.
// A backup that fails is reported and the work goes on; false when the backup asked for was
// not made (the file was rewritten all the same).
bool modifyRinex(const AnalysisResult& result, const ModificationOptions& options,
                 Services& services);

}  // namespace marvolt
