#pragma once
// A kinematic solution computed by Debian's rnx2rtkp (RTKLIB) from the rover's RINEX file, a
// base station's and navigation files, for when the survey brings no solution of its own.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "rtklib_inputs.h"
#include "solution.h"

namespace marvolt {

// The files of one computation.
struct RtklibInputs {
    std::string rover;                    // the rover's RINEX observation file
    std::string base;                     // the base station's, its position in its header
    std::vector<std::string> navigation;  // RINEX navigation files (GPS, GLONASS, mixed...)
};

// Where the solution of a rover file is kept: "<its name without extension>.marvolt.pos"
// in its folder ("/d/07590920.05o" gives "/d/07590920.marvolt.pos").
std::string solutionPathFor(const std::string& roverPath);

// The rnx2rtkp configuration of a combined (forward and backward) kinematic solution with
// broadcast ionosphere and Saastamoinen troposphere, 15 degree mask, the base at its RINEX
// header position, latitude/longitude/height on GPS time. `secondFrequency`: L1+L2, else L1.
std::string rtklibConfiguration(bool secondFrequency, int navigationSystems);

// Where a progress line of rnx2rtkp ("processing : 2005/04/02 00:00:30 Q=1") stands, as
// seconds since 1980-01-06; nullopt for any other text.
std::optional<double> progressTime(const std::string& text);

// The share of a combined run done when rnx2rtkp is at `time` of the span [first, last]:
// the forward pass is the first half, the backward pass (once the time runs back) the second.
double progressShare(double time, double first, double last, bool backward);

enum class RunOutcome { Done, Stopped };

// Where a run stands: the share done (0 to 1) and the epoch rnx2rtkp has reached, GPS
// seconds (0 before it reached any).
using RtklibProgress = std::function<bool(double share, GpsSeconds epoch)>;

// Runs rnx2rtkp (found on the PATH) on the inputs, with a temporary configuration removed
// afterwards, and puts its solution at `output` through a temporary file in the same folder
// renamed over it, so `output` is either the old file or the whole new one. `progress` is
// asked now and then, at least every fifth of a second also while rnx2rtkp says nothing;
// when it returns false the run is stopped: the process is ended (SIGTERM, then waited for),
// nothing is written, and the outcome is Stopped. Failures: no rnx2rtkp on the PATH, rnx2rtkp
// ending with an error or writing no solution, and the errors of writing the file.
RunOutcome computeSolution(const RtklibInputs& inputs, const std::string& output,
                           const RtklibProgress& progress);

}  // namespace marvolt
