#include "modification.h"

#include <cerrno>
#include <optional>
#include <string>

#include "backup_copy.h"
#include "block_writer.h"
#include "failure.h"
#include "file_lock.h"
#include "file_path.h"
#include "regular_file.h"
#include "temporary_file.h"

namespace marvolt {

namespace {

Failure changedSinceAnalysis(const std::string& shownPath) {
    return Failure("Plik \"" + shownPath +
                   "\" zmienił się od analizy. Wykonaj analizę jeszcze raz.");
}

// The flags written into a kernel copy of the file: the marks of an earlier run set back to
// 0, then the new ones. The copy must be as long as the file the analysis read, and every
// line about to change must still hold what the analysis found there (its epoch key, the
// earlier mark); Changed, with the copy of no use, when it does not.
RewriteTrouble patchCopy(const AnalysisResult& result, const EventsByLine& events, int original,
                         int out, Progress& progress) {
    if (!copyWholeFile(original, out, progress)) return RewriteTrouble::Stopped;
    if (sizeOf(out) != result.identity.size) return RewriteTrouble::Changed;

    const EpochLayout& layout = result.layout;
    for (const EpochPlace& mark : result.markedEpochs) {
        const std::uint64_t at = mark.offset + layout.flagPosition();
        const std::string flag = readBytesAt(out, at, 1);
        if (flag != std::string(1, kStopFlag) && flag != std::string(1, kGoFlag))
            return RewriteTrouble::Changed;
        if (events.count(mark.line) == 0) writeByteAt(out, at, '0');
    }
    for (const auto& [line, atLine] : events) {
        const std::uint64_t offset = result.epochOffsets.at(line);
        const std::string start = readBytesAt(out, offset, layout.keyLength());
        for (const EpochEvent& event : atLine) {
            const std::string& key =
                event.moment == Moment::Stop ? event.point->stopKey : event.point->goKey;
            if (!layout.lineMatches(start, key)) return RewriteTrouble::Changed;
        }
        writeByteAt(out, offset + layout.flagPosition(), flagOf(atLine));
    }
    return RewriteTrouble::None;
}

// The file at `path` is still the open file `locked`, as the analysis read it.
bool unchanged(const std::string& path, const LockedFile& locked, const FileIdentity& analysed) {
    return locked.identity() == analysed && identityAt(path) == analysed;
}

}  // namespace

bool modifyRinex(const AnalysisResult& result, const ModificationOptions& options,
                 Services& services, Progress& progress) {
    if (result.file.empty())
        throw Failure("Nie ma pliku RINEX do modyfikacji: najpierw wykonaj analizę pliku RINEX.");
    const std::string& file = result.file;
    const std::string shownPath = fullPath(file);
    BusyCursor busy(services);  // a day file takes a moment to read and write
    // Stopped before the backup step: the temporary file goes with its destructor, the file
    // and any backup stay as they were.
    const auto stopped = [&] {
        busy.restore();
        services.message(kStoppedModification);
        return true;
    };

    const Replacement replacement = prepareReplacement(file);
    // Held until the new file has replaced this one: one modification of a file at a time.
    const LockedFile locked(file);
    if (!unchanged(file, locked, result.identity)) throw changedSinceAnalysis(shownPath);
    TemporaryFile written(replacement.target, file);
    const EventsByLine events = eventsByLine(result);
    const bool patchable = options.events == EventStyle::Flags && result.writtenBackAsIs &&
                           result.insertedBlocks.empty() &&
                           result.markedEpochs.size() == result.markedEpochCount;
    switch (patchable ? patchCopy(result, events, locked.fd(), written.fd(), progress)
                      : rewriteWithEvents(result, events, result.insertedBlocks, options.events,
                                          written.fd(), progress)) {
        case RewriteTrouble::DroppedBytes:
            throw Failure("Plik \"" + shownPath +
                          "\" zawiera znak CR bez LF albo znak 0x1A przed końcem pliku; "
                          "zapisanie go na nowo zgubiłoby dane. Plik nie został zmieniony.");
        case RewriteTrouble::Changed:
            throw changedSinceAnalysis(shownPath);
        case RewriteTrouble::Stopped:
            return stopped();
        case RewriteTrouble::None:
            break;
    }
    written.settle(replacement.ownership, locked.fd());
    if (!progress.passPointOfNoReturn()) return stopped();
    // From here to the rename the signals that end the program wait, so that an interrupt
    // never leaves a backup half-made.
    std::optional<EndingSignalsHeld> held;
    held.emplace();

    // The backup of the file as it stands, made ready once the new file is on disk (where it
    // can be, the file itself under a second name: nothing is copied) and put in place just
    // before the new file replaces the file; a backup that fails is reported and the work goes
    // on. A file marked before keeps the backup of that run, which holds it as it was before
    // any marks.
    bool backupMade = true;
    const bool keptBackup =
        options.makeBackup && result.earlierMarks() > 0 && nameExists(file + ".bak");
    std::optional<PendingBackup> backup;
    const auto backupFailed = [&] {
        backupMade = false;
        services.message("UWAGA: Z jakiegoś powodu utworzenie kopii nie powiodło się!");
    };
    if (options.makeBackup && !keptBackup) {
        try {
            backup.emplace(file);
        } catch (const Failure&) {
            backupFailed();
        }
    }
    // Lines appended meanwhile would be lost by the rename: the last look just before it.
    if (!unchanged(file, locked, result.identity)) throw changedSinceAnalysis(shownPath);
    if (backup) {
        try {
            backup->putInPlace();
        } catch (const Failure&) {
            backupFailed();
        }
    }
    written.renameOverTarget();
    held.reset();
    busy.restore();
    if (keptBackup)
        services.message(
            "Kopia oryginału z wcześniejszej modyfikacji zostaje bez zmian: " + shownPath + ".bak");
    services.message("Zakończyłem modyfikację pliku " + shownPath);
    return backupMade;
}

}  // namespace marvolt
