#pragma once
// The solution epochs a survey needs, kept while a solution file streams by: those around
// each point's watch window and a thinned track, so that a 20 Hz day stays in little memory.

#include <cstddef>
#include <string>
#include <vector>

#include "solution.h"

namespace marvolt {

// One point's watch window on GPS time, in STOP order.
struct WatchWindow {
    std::string name;  // Windows-1250 bytes, as the time table holds it
    GpsSeconds stop = 0.0;
    GpsSeconds go = 0.0;
};

// How far from each end of a watch window its data end is looked for.
constexpr double kEndMargin = 60.0;

// The window with the margins around its ends: kEndMargin, or half the gap to the
// neighbouring window where that is shorter (none for overlapping windows).
struct SearchRange {
    double stopMargin = kEndMargin;
    double goMargin = kEndMargin;
};

// The margins of windows given in STOP order.
std::vector<SearchRange> searchRanges(const std::vector<WatchWindow>& windows);

class EpochCollector {
  public:
    // `windows` in STOP order; `trackSpacing` the least time between two epochs of the track.
    explicit EpochCollector(std::vector<WatchWindow> windows, double trackSpacing = 1.0);

    // Takes one epoch as the file gives it: into every point whose window with its margins
    // holds it, and into the track when far enough from the last one kept.
    void add(const SolutionEpoch& epoch);
    // Puts each point's epochs in time order (a file may hold a few out of order).
    void finish();

    const std::vector<WatchWindow>& windows() const { return windows_; }
    const std::vector<SearchRange>& ranges() const { return ranges_; }
    const std::vector<SolutionEpoch>& epochsOf(std::size_t point) const { return epochs_[point]; }
    const std::vector<SolutionEpoch>& track() const { return track_; }
    std::size_t epochCount() const { return count_; }
    GpsSeconds firstTime() const { return first_; }

    // The solution interval: the median step between successive epochs among the first
    // thousand of the file; 1 s before any step is seen.
    double interval() const;
    // How far a data end may lie from the watch without being shifted, and the longest
    // stretch without solution across which a change of motion is still seen: 3 s or 1.5
    // solution intervals, whichever is more.
    double tolerance() const;
    // The longest step between two epochs across which a change of motion is still seen:
    // a gap of the tolerance, plus the interval.
    double longestStep() const { return tolerance() + interval(); }

  private:
    static constexpr std::size_t kIntervalSteps = 1000;

    std::vector<WatchWindow> windows_;
    std::vector<SearchRange> ranges_;
    // The end of a point's range.
    double end(std::size_t point) const;

    std::vector<std::size_t> order_;     // the points by the start of their ranges
    std::vector<GpsSeconds> from_;       // those starts, ascending
    std::vector<GpsSeconds> reachUpTo_;  // the latest range end among the points up to each
    std::vector<std::vector<SolutionEpoch>> epochs_;
    std::vector<SolutionEpoch> track_;
    std::vector<double> steps_;
    double trackSpacing_;
    std::size_t count_ = 0;
    GpsSeconds first_ = 0.0;
    GpsSeconds last_ = 0.0;
};

}  // namespace marvolt
