#pragma once
// The steps of one marvolt-cli command, run on an empty time table.

#include "command_line.h"

namespace marvolt::cli {

// Runs the import, then for analyse and modify the analysis, then for modify (when no
// epoch was missing) the modification, and prints the table. Returns the exit status;
// after an error nothing more runs and no table is printed. Output that cannot be written
// is an error too.
int runCommand(const CommandLine& line);

}  // namespace marvolt::cli
