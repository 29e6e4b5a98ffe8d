#include "run_command.h"

#include <iostream>

#include "analysis.h"
#include "file_path.h"
#include "locale_settings.h"
#include "modification.h"
#include "printing_services.h"
#include "table_listing.h"
#include "time_file_import.h"

namespace marvolt::cli {

int runCommand(const CommandLine& line) {
    TimeTable table(localeFromEnvironment());
    table.open();
    // The window's dialog gives full paths, which the messages and error texts then show: the
    // names given on the command line are answered as full paths too.
    std::deque<std::string> answers{fullPath(line.timeFile)};
    if (line.command != Command::Table) answers.push_back(fullPath(line.rinexFile));
    PrintingServices services(std::cout, std::cerr, answers);

    if (!runOperation(services, [&] { importTimeFile(table, services); })) return kExitFailed;

    int status = kExitDone;
    if (line.command == Command::Analyse || line.command == Command::Modify) {
        WorkState state;
        PrintingView view(std::cout);
        AnalysisOutcome outcome = AnalysisOutcome::Cancelled;
        if (!runOperation(services, [&] { outcome = analyseRinex(table, state, view, services); }))
            return kExitFailed;
        if (outcome != AnalysisOutcome::NoErrors) {
            status = kExitMissingEpochs;
        } else if (line.command == Command::Modify) {
            bool backupMade = true;
            if (!runOperation(services, [&] {
                    backupMade = modifyRinex(table, state, line.makeBackup, services);
                }))
                return kExitFailed;
            if (!backupMade) status = kExitNoBackup;
        }
    }
    printTable(table, std::cout);
    // A batch that keeps the output must not take a lost table for success.
    if (!std::cout.flush()) {
        std::cerr << "marvolt-cli: cannot write to standard output\n";
        return kExitFailed;
    }
    return status;
}

}  // namespace marvolt::cli
