#pragma once
// marvolt-cli points: the import, the analysis (or a given shift), the solution and the
// points against it, printed and written to the CSV.

#include <ostream>

#include "command_line.h"
#include "printing_services.h"

namespace marvolt::cli {

// Runs `points` and prints what it finds on `out`, then the table of the points and the
// watch's offset when the data shows one. Returns kExitDone when every point is OK,
// kExitPointsNotOk when one is not, kExitFailed after an error (shown through `services`).
int runPoints(const CommandLine& line, PrintingServices& services, std::ostream& out);

}  // namespace marvolt::cli
