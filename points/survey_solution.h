#pragma once
// The points of an analysed survey from its solution, in the two steps the window's dialog
// runs apart: the solution file read once, then its points with a trim and a grid (again
// whenever those change, without reading the file again).

#include <optional>
#include <string>
#include <vector>

#include "epoch_collector.h"
#include "grid_coordinates.h"
#include "survey_check.h"
#include "watch_windows.h"

namespace marvolt {

class Services;

// The solution file read into a collector over the survey's watch windows (dated by the
// survey's observation date); unreadable lines are reported through `services`.
EpochCollector collectSurvey(const std::string& solution, const AnalysedSurvey& survey,
                             Services& services);

// The grid coordinates of every averaged point; a point outside the grid's extent is named
// through `services` and keeps none.
void addGridCoordinates(std::vector<PointResult>& points, Grid grid, Services& services);

struct SurveyPoints {
    std::vector<PointResult> points;    // in STOP order
    std::optional<double> watchOffset;  // what the offsets of all points say of the watch
};

// The points of a collected solution, averaged inside the watch windows less `trim` seconds
// at each end, with their grid coordinates.
SurveyPoints checkedPoints(const EpochCollector& collector, double trim, Grid grid,
                           Services& services);

}  // namespace marvolt
