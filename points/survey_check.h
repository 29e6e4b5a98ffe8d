#pragma once
// Every point of a survey against its solution: the occupation, the offsets from the watch,
// the averaged coordinate and a state; and what the offsets of all points say of the watch.

#include <optional>
#include <string>
#include <vector>

#include "epoch_collector.h"
#include "grid_coordinates.h"
#include "point_average.h"

namespace marvolt {

// Seconds cut off each end of the watch window before averaging: the antenna is set down
// and picked up about then.
constexpr double kDefaultTrim = 2.0;

enum class PointState { NoData, Moving, Shifted, Ok };

// The state as the table and the CSV write it: "brak danych", "ruch", "przesunięty", "OK".
std::string stateText(PointState state);

struct PointResult {
    WatchWindow window;
    int epochsWindow = 0;                        // solution epochs inside the watch window
    int epochsStanding = 0;                      // of them standing still
    double fixShare = 0.0;                       // of them fixed, 0..1
    std::optional<GpsSeconds> stopData, goData;  // the data ends that are seen
    PointCoordinate coordinate;
    std::optional<GridPoint> grid;  // filled in by the caller
    PointState state = PointState::NoData;

    // Data end minus watch end, seconds; none for an end not seen.
    std::optional<double> stopOffset() const;
    std::optional<double> goOffset() const;
};

// Each point of the collector in STOP order. The state is the first that applies: no
// solution epoch in the window; fewer than half of them standing still; a seen end further
// from the watch than the tolerance; OK.
std::vector<PointResult> surveyPoints(const EpochCollector& collector, double trim);

// The median of all seen offsets, when at least three points have every seen end within 2 s
// of it and it is beyond the tolerance: the watch was off by that much.
std::optional<double> watchOffset(const std::vector<PointResult>& points, double tolerance);

// "Zegarek: postoje w danych zaczynają się i kończą średnio o 7.0 s później niż czasy z
// tabeli. Sprawdź przesunięcie zegarka." ("wcześniej" for a negative offset).
std::string watchOffsetLine(double offset);

}  // namespace marvolt
