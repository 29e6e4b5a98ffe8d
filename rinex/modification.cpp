#include "modification.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "epoch_layout.h"
#include "failure.h"
#include "file_path.h"
#include "line_list.h"

namespace marvolt {

namespace {

// Copies the file byte for byte over an older backup; false when the copy failed.
bool makeBackupCopy(const std::string& file) {
    std::error_code error;
    std::filesystem::copy_file(file, file + ".bak",
                               std::filesystem::copy_options::overwrite_existing, error);
    return !error;
}

// True when each line is still a data epoch that matches the key it was found by.
bool stillMatch(const LineList& lines, const EpochLayout& layout,
                const std::vector<std::size_t>& found, const std::string& key) {
    for (const std::size_t line : found)
        if (line >= lines.size() || !layout.lineMatches(lines[line], key) ||
            !layout.isDataEpoch(lines, line))
            return false;
    return true;
}

bool resultStillHolds(const AnalysisResult& result, const LineList& lines) {
    for (const PointEpochs& point : result.points)
        if (!stillMatch(lines, result.layout, point.stopLines, point.stopKey) ||
            !stillMatch(lines, result.layout, point.goLines, point.goKey))
            return false;
    return true;
}

// Flags the STOP and GO epoch lines of every point, in STOP order: a later write wins, so
// a line that is one point's GO and the next point's STOP ends with 3.
void flagEpochLines(const AnalysisResult& result, LineList& lines) {
    const std::size_t flag = result.layout.flagPosition();
    for (const PointEpochs& point : result.points) {
        for (const std::size_t line : point.stopLines) lines.setByte(line, flag, kStopFlag);
        for (const std::size_t line : point.goLines) lines.setByte(line, flag, kGoFlag);
    }
}

}  // namespace

void modifyRinex(const AnalysisResult& result, bool makeBackup, Services& services) {
    if (result.file.empty())
        throw Failure("Nie ma pliku RINEX do modyfikacji: najpierw wykonaj analizę pliku RINEX.");
    const std::string& file = result.file;
    const std::string shownPath = fullPath(file);

    LineList lines = readLines(file);
    if (lines.droppedBytes())
        throw Failure("Plik \"" + shownPath +
                      "\" zawiera znak CR bez LF albo znak 0x1A przed końcem pliku; zapisanie "
                      "go na nowo zgubiłoby dane. Plik nie został zmieniony.");
    if (!resultStillHolds(result, lines))
        throw Failure("Plik \"" + shownPath +
                      "\" zmienił się od analizy. Wykonaj analizę jeszcze raz.");

    // The byte copy of the file as it stands; a copy that fails is reported and the work
    // goes on.
    if (makeBackup && !makeBackupCopy(file))
        services.message("UWAGA: Z jakiegoś powodu utworzenie kopii nie powiodło się!");

    flagEpochLines(result, lines);
    writeLines(file, lines);
    services.normalCursor();
    services.message("Zakończyłem modyfikację pliku " + shownPath);
}

}  // namespace marvolt
