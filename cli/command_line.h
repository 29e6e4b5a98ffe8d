#pragma once
// The arguments of marvolt-cli: which steps to run on which files.

#include <optional>
#include <string>
#include <vector>

#include "grid_coordinates.h"
#include "modification.h"

namespace marvolt::cli {

enum class Command { Table, Analyse, Modify, Points, Help, Version, BadUsage };

// Exit statuses of marvolt-cli.
constexpr int kExitDone = 0;
constexpr int kExitMissingEpochs = 1;  // a STOP or GO without an epoch line
constexpr int kExitPointsNotOk = 1;    // a point of `points` whose state is not OK
constexpr int kExitFailed = 2;         // an operation ended in the error box
constexpr int kExitNoBackup = 3;       // the file was rewritten, its backup could not be made
constexpr int kExitUsage = 64;

struct CommandLine {
    Command command = Command::BadUsage;
    std::string timeFile;
    std::string rinexFile;                  // empty for `table`
    bool makeBackup = true;                 // cleared by --no-backup, as the unticked checkKopia
    EventStyle events = EventStyle::Flags;  // --events=flags|records, as checkRekordy
    // points: the solution file, or the base and navigation files rnx2rtkp computes it
    // from, or (with no RINEX file) the watch-to-receiver shift in seconds.
    std::string solutionFile;
    std::string baseFile;
    std::vector<std::string> navFiles;
    std::optional<double> shiftSeconds;
    double trim = 2.0;         // --trim S
    Grid grid = kDefaultGrid;  // --grid pl2000|pl1992|none
    std::string csvFile;       // --csv FILE, empty for none
    std::string problem;       // what is wrong with the arguments, for BadUsage
};

// Reads the arguments that follow the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The usage text, several lines, each ending in a newline.
std::string usageText();

}  // namespace marvolt::cli
