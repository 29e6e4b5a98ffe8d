#pragma once
// One computation of the points dialog, run off the window's thread: rnx2rtkp when the
// solution is to be computed, the solution read, the points checked, the track profiled.
// Plain values in and out, so that nothing of it touches a widget.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rtklib_run.h"
#include "survey_solution.h"
#include "track_profile.h"

namespace marvolt {

// Where the solution comes from.
struct PointsSource {
    std::string solution;                 // a solution file; empty: computed by rnx2rtkp
    std::string base;                     // the base station's observation file
    std::vector<std::string> navigation;  // navigation files
};

struct PointsJob {
    AnalysedSurvey survey;
    PointsSource source;
    // A solution read before: the points are checked again from it (a new trim or grid).
    std::shared_ptr<const EpochCollector> collected;
    double trim = kDefaultTrim;
    Grid grid = Grid::Pl2000;
};

struct PointsOutcome {
    bool stopped = false;                // "Przerwij": nothing came of it
    std::optional<std::string> failure;  // the error that ended it
    std::vector<std::string> messages;   // what the core had to say on the way
    std::string solution;                // the file read
    std::shared_ptr<const EpochCollector> collected;
    SurveyPoints points;
    std::vector<TrackSample> track;   // the day's track, speed and place
    std::vector<TrackSample> placed;  // each averaged point's place (time unused); NaN: none
};

// Runs the job; `progress` as rnx2rtkp's (asked from this thread; false stops the run).
PointsOutcome runPointsJob(const PointsJob& job, const RtklibProgress& progress);

}  // namespace marvolt
