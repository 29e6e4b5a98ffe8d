#include "run_command.h"

#include <iostream>

#include "console.h"
#include "file_path.h"
#include "locale_settings.h"
#include "modification.h"
#include "points_command.h"
#include "printing_services.h"
#include "table_listing.h"
#include "terminal_progress.h"
#include "time_file_import.h"

namespace marvolt::cli {

int runCommand(const CommandLine& line) {
    PrintingServices services(std::cout, std::cerr);
    if (line.command == Command::Points) {
        const int status = runPoints(line, services, std::cout);
        if (!std::cout.flush()) {
            std::cerr << "marvolt-cli: cannot write to standard output\n";
            return kExitFailed;
        }
        return status;
    }
    TimeTable table(localeFromEnvironment());
    table.open();

    // The window's dialog gives full paths, which the messages and error texts then show: the
    // names given on the command line are taken as full paths too.
    if (!runOperation(services, [&] { importTimeFile(fullPath(line.timeFile), table, services); }))
        return kExitFailed;

    int status = kExitDone;
    if (line.command == Command::Analyse || line.command == Command::Modify) {
        HeldDate held;
        PrintingView view(std::cout);
        AnalysisResult result;
        if (!runOperation(services, [&] {
                TerminalProgress progress("Analiza", std::cerr, standardErrorIsTerminal());
                result = printedAnalysis(fullPath(line.rinexFile), table, held, view, services,
                                         progress);
            }))
            return kExitFailed;
        if (!result.allFound()) {
            status = kExitMissingEpochs;
        } else if (line.command == Command::Modify) {
            bool backupMade = true;
            if (!runOperation(services, [&] {
                    TerminalProgress progress("Modyfikacja", std::cerr, standardErrorIsTerminal());
                    backupMade =
                        modifyRinex(result, {line.makeBackup, line.events}, services, progress);
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
