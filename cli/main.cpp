// marvolt-cli: the steps of a stop-and-go survey without the window.

#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "console.h"
#include "run_command.h"

int main(int argc, char** argv) {
    using namespace marvolt::cli;
    const CommandLine line = parseCommandLine(programArguments(argc, argv));
    switch (line.command) {
        case Command::Help:
            std::cout << usageText();
            return kExitDone;
        case Command::Version:
            std::cout << "marvolt-cli " MARVOLT_VERSION "\n";
            return kExitDone;
        case Command::BadUsage:
            std::cerr << "marvolt-cli: " << line.problem << "\n\n" << usageText();
            return kExitUsage;
        default:
            return runCommand(line);
    }
}
