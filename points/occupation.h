#pragma once
// The occupation the data shows: the stretch of solution epochs around a watch window in
// which the antenna stood still, and where its ends lie against the watch.

#include <cstddef>
#include <optional>
#include <vector>

#include "epoch_collector.h"
#include "solution.h"

namespace marvolt {

// Horizontal speeds, m/s: below kRestSpeed the antenna has come to rest, above kMoveSpeed it
// moves; between the two it keeps what it did before, so that noise near one threshold does
// not break a stop into pieces.
constexpr double kRestSpeed = 0.2;
constexpr double kMoveSpeed = 0.35;

// Which of the epochs (in time order) show the antenna standing still. The speed is the
// solution's own velocity where the epochs carry one that is not zero throughout; else from
// the positions at least a second apart (the calmer of the steps before and after an epoch,
// the thresholds raised by twice the standard deviation of the step, at most by 0.25 m/s).
// A single moving epoch between standing ones takes their state, and so does a single
// standing epoch between moving ones within 2 `tolerance` seconds: one jump of the solution
// is no start or stop.
std::vector<bool> standingEpochs(const std::vector<SolutionEpoch>& epochs, double tolerance);

struct Occupation {
    bool found = false;
    std::size_t first = 0, last = 0;  // its first and last standing epoch
    std::optional<GpsSeconds> start;  // its start when seen: the first standing epoch
    std::optional<GpsSeconds> end;    // its end when seen: the last standing epoch
    int windowEpochs = 0;             // epochs inside the watch window
    int standingInWindow = 0;         // of them standing still
};

// The occupation of one point from its epochs (time order) and their standing flags: the
// run of standing epochs holding most epochs of the watch window (runs split where the
// positions moved across a stretch without solution, where the epochs carry no velocity). An end is
// seen only where the change between moving and standing lies within the margin around the watch's
// end, between two epochs at most `longestStep` apart (a gap in the solution no longer than the
// tolerance).
Occupation findOccupation(const std::vector<SolutionEpoch>& epochs,
                          const std::vector<bool>& standing, const WatchWindow& window,
                          const SearchRange& range, double tolerance, double longestStep);

}  // namespace marvolt
