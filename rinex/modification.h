#pragma once
// Step 3 of the work: the analysed RINEX file rewritten with the STOP and GO events at the
// epoch lines that the analysis reported.

#include "analysis_result.h"
#include "event_rewrite.h"
#include "progress.h"
#include "services.h"

namespace marvolt {

struct ModificationOptions {
    bool makeBackup = true;
    EventStyle events = EventStyle::Flags;
};

// Writes the analysed file anew with the events of the result, then backs up the original
// (when asked) and puts the new file in its place safely. The time table plays no part:
// what is written is what the analysis reported. Every mark an earlier run left (flags 2
// and 3 of data epochs, inserted event blocks) is taken out first, so a run again gives the
// file one run of the last table gives. The file is locked against a second modification
// from its re-read to the rename, and must still be the file analysed (identity, and each
// line about to change) up to just before the rename, or the run is refused with the file
// and any backup left as they were. A file that needs no line-end change gets its flags in
// a kernel copy; any other is read again line by line, and refused when line writing would
// drop bytes of it. The new file keeps the original's mode, group, owner where allowed and
// extended attributes. A file marked before keeps an existing backup, which holds it as it
// was before any marks. A backup that fails is reported and the work goes on; false when
// the backup asked for was not made (the file was rewritten all the same). `progress` is
// told the share of the file rewritten and asked whether to stop up to the backup step,
// where it passes the point of no return; the signals that end the program wait from there
// until the rename is done. A stop leaves the file and any backup as they were, no temporary
// file, and shows kStoppedModification (true is given: no backup failed).
bool modifyRinex(const AnalysisResult& result, const ModificationOptions& options,
                 Services& services, Progress& progress = Progress::none());

// The message of a modification the user stopped.
inline constexpr const char* kStoppedModification =
    "Modyfikacja przerwana; plik nie został zmieniony.";

}  // namespace marvolt
