#include "modification.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "backup_copy.h"
#include "block_writer.h"
#include "failure.h"
#include "file_path.h"
#include "regular_file.h"
#include "temporary_file.h"

namespace marvolt {

namespace {

// The flags written into a copy of the file, which is still the file the analysis read and
// needs no other change; false, with nothing written, when it is not that file any more.
bool patchCopy(const AnalysisResult& result, const EventsByLine& events, int out) {
    struct stat status {};
    const FileDescriptor original = openRegularFile(result.file, status);
    if (!(identityOf(status) == result.identity)) return false;
    copyWholeFile(original.get(), out);
    for (const auto& [line, atLine] : events) {
        const char flag = flagOf(atLine);
        const auto offset =
            static_cast<off_t>(result.epochOffsets.at(line) + result.layout.flagPosition());
        ssize_t written;
        do {
            written = ::pwrite(out, &flag, 1, offset);
        } while (written < 0 && errno == EINTR);
        if (written != 1) throw streamWriteError();
    }
    return true;
}

}  // namespace

bool modifyRinex(const AnalysisResult& result, const ModificationOptions& options,
                 Services& services) {
    if (result.file.empty())
        throw Failure("Nie ma pliku RINEX do modyfikacji: najpierw wykonaj analizę pliku RINEX.");
    const std::string& file = result.file;
    const std::string shownPath = fullPath(file);
    BusyCursor busy(services);  // a day file takes a moment to read and write

    const Replacement replacement = prepareReplacement(file);
    TemporaryFile written(replacement.target, file);
    const EventsByLine events = eventsByLine(result);
    const bool patched = options.events == EventStyle::Flags && result.writtenBackAsIs &&
                         result.insertedBlocks.empty() && patchCopy(result, events, written.fd());
    if (!patched) {
        // A file that changed since the analysis may hold other inserted blocks.
        struct stat status {};
        const bool same =
            ::stat(file.c_str(), &status) == 0 && identityOf(status) == result.identity;
        const std::vector<LineRange> blocks =
            same ? result.insertedBlocks : findInsertedBlocks(file, result.layout);
        switch (rewriteWithEvents(result, events, blocks, options.events, written.fd())) {
            case RewriteTrouble::DroppedBytes:
                throw Failure("Plik \"" + shownPath +
                              "\" zawiera znak CR bez LF albo znak 0x1A przed końcem pliku; "
                              "zapisanie go na nowo zgubiłoby dane. Plik nie został zmieniony.");
            case RewriteTrouble::Changed:
                throw Failure("Plik \"" + shownPath +
                              "\" zmienił się od analizy. Wykonaj analizę jeszcze raz.");
            case RewriteTrouble::None:
                break;
        }
    }

    // The backup of the file as it stands, made once the new file is on disk and before it
    // replaces the file (where it can be, the file itself under the backup name: nothing is
    // copied); a backup that fails is reported and the work goes on.
    bool backupMade = true;
    if (options.makeBackup) {
        written.flushToDisk();
        try {
            makeBackupBeforeReplacing(file);
        } catch (const Failure&) {
            backupMade = false;
            services.message("UWAGA: Z jakiegoś powodu utworzenie kopii nie powiodło się!");
        }
    }
    written.replaceTarget(replacement.ownership);
    busy.restore();
    services.message("Zakończyłem modyfikację pliku " + shownPath);
    return backupMade;
}

}  // namespace marvolt
