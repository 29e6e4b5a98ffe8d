#pragma once
// The day's track as the points dialog draws it: the antenna's horizontal speed against time
// and its place on a local plane.

#include <vector>

#include "ecef.h"
#include "solution.h"

namespace marvolt {

struct TrackSample {
    GpsSeconds time = 0.0;
    double speed = 0.0;              // horizontal, m/s
    double east = 0.0, north = 0.0;  // metres from the profile's origin
};

// East and north, metres, of `p` from `origin` on the plane touching the ellipsoid there.
struct LocalPlane {
    explicit LocalPlane(const Ecef& origin);
    TrackSample place(const Ecef& p) const;

  private:
    Ecef origin_;
    EnuAxes axes_;
};

// Every epoch of a track (time order) with its speed and place: the speed is the solution's
// own velocity where the track carries one that is not zero throughout, else the distance to
// the epoch before over the time between them (0 after a gap longer than `longestStep`).
std::vector<TrackSample> trackProfile(const std::vector<SolutionEpoch>& track,
                                      const LocalPlane& plane, double longestStep);

}  // namespace marvolt
