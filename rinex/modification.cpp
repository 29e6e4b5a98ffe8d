#include "modification.h"

#include <string>

#include "backup_copy.h"
#include "epoch_key.h"
#include "failure.h"
#include "file_path.h"
#include "line_list.h"

namespace marvolt {

namespace {

// Writes the flag over column 29 of the lines; lines without a column 29 stay as they are.
void setFlag(LineList& lines, const std::vector<std::size_t>& found, char flag) {
    for (const std::size_t line : found)
        if (lines[line].size() > kEpochFlagPosition) lines.setByte(line, kEpochFlagPosition, flag);
}

// Flags the STOP2 and GO2 epoch lines of every point, in STOP order: a later write wins.
// Only column 29 changes, so the index stays valid while the flags are written.
void flagEpochLines(TimeTable& table, double observationDate, const EpochIndex& index,
                    LineList& lines) {
    const std::string date = datePiece(observationDate);
    const int count = table.recordCount();
    table.first();
    for (int i = 0; i < count; ++i) {
        setFlag(lines, index.linesMatching(epochKey(date, table.time(Field::Stop2))), kStopFlag);
        setFlag(lines, index.linesMatching(epochKey(date, table.time(Field::Go2))), kGoFlag);
        table.next();
    }
}

}  // namespace

bool modifyRinex(TimeTable& table, const WorkState& state, bool makeBackup, Services& services) {
    if (state.analysedFile.empty())
        throw Failure("Nie ma pliku RINEX do modyfikacji: najpierw wykonaj analizę pliku RINEX.");
    const std::string& file = state.analysedFile;
    const std::string shownPath = fullPath(file);

    // First the byte copy of the file as it stands; a copy that fails is reported and the
    // work goes on (a file that cannot be read then fails on reading).
    bool backupMade = true;
    if (makeBackup) {
        try {
            makeBackupCopy(file);
        } catch (const Failure&) {
            backupMade = false;
            services.message("UWAGA: Z jakiegoś powodu utworzenie kopii nie powiodło się!");
        }
    }

    LineList lines;
    const EpochIndex index = EpochIndex::readFile(file, lines);
    if (lines.droppedBytes())
        throw Failure("Plik \"" + shownPath +
                      "\" zawiera znak CR bez LF albo znak 0x1A przed końcem pliku; zapisanie "
                      "go na nowo zgubiłoby dane. Plik nie został zmieniony.");

    flagEpochLines(table, state.analysedDate, index, lines);
    writeLines(file, lines);
    services.normalCursor();
    services.message("Zakończyłem modyfikację pliku " + shownPath);
    return backupMade;
}

}  // namespace marvolt
