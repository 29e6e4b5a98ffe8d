#pragma once
// A point's coordinate: the mean of the solution epochs of its occupation.

#include <cstddef>
#include <vector>

#include "solution.h"

namespace marvolt {

struct PointCoordinate {
    double lat = 0.0, lon = 0.0;             // degrees
    double h = 0.0;                          // ellipsoidal height, metres
    double sdN = 0.0, sdE = 0.0, sdU = 0.0;  // scatter of the epochs used, metres
    int epochsUsed = 0;                      // 0: no coordinate
    SolutionQuality quality = SolutionQuality::Single;
};

// The mean in x, y, z of the epochs from `first` to `last` (indices, inclusive) that lie
// between `from` and `to`, using only the best quality among them (fix before float before
// the rest), turned into latitude, longitude and height; the standard deviations are the
// scatter of those epochs north, east and up (0 for one epoch).
PointCoordinate averagePoint(const std::vector<SolutionEpoch>& epochs, std::size_t first,
                             std::size_t last, GpsSeconds from, GpsSeconds to);

}  // namespace marvolt
