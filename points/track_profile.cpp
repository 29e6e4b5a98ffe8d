#include "track_profile.h"

#include <algorithm>
#include <cmath>

namespace marvolt {

LocalPlane::LocalPlane(const Ecef& origin) : origin_(origin) {
    const Geodetic g = toGeodetic(origin);
    axes_ = enuAxes(g.latitude, g.longitude);
}

TrackSample LocalPlane::place(const Ecef& p) const {
    const Enu d = toEnu(axes_, {p.x - origin_.x, p.y - origin_.y, p.z - origin_.z});
    TrackSample sample;
    sample.east = d.e;
    sample.north = d.n;
    return sample;
}

std::vector<TrackSample> trackProfile(const std::vector<SolutionEpoch>& track,
                                      const LocalPlane& plane, double longestStep) {
    const bool velocity = std::any_of(track.begin(), track.end(), [](const SolutionEpoch& e) {
        return e.velocity && (e.velocity->e != 0.0 || e.velocity->n != 0.0);
    });
    std::vector<TrackSample> samples;
    samples.reserve(track.size());
    for (const SolutionEpoch& epoch : track) {
        TrackSample sample = plane.place({epoch.x, epoch.y, epoch.z});
        sample.time = epoch.time;
        if (velocity && epoch.velocity) {
            sample.speed = std::hypot(epoch.velocity->e, epoch.velocity->n);
        } else if (!samples.empty()) {
            const TrackSample& before = samples.back();
            const double step = epoch.time - before.time;
            if (step > 0.0 && step <= longestStep)
                sample.speed =
                    std::hypot(sample.east - before.east, sample.north - before.north) / step;
        }
        samples.push_back(sample);
    }
    return samples;
}

}  // namespace marvolt
