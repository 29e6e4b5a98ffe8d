#include "point_average.h"

#include <algorithm>
#include <cmath>

#include "ecef.h"

namespace marvolt {

PointCoordinate averagePoint(const std::vector<SolutionEpoch>& epochs, std::size_t first,
                             std::size_t last, GpsSeconds from, GpsSeconds to) {
    PointCoordinate result;
    std::vector<const SolutionEpoch*> used;
    for (std::size_t i = first; i <= last && i < epochs.size(); ++i) {
        const SolutionEpoch& epoch = epochs[i];
        if (epoch.time < from || epoch.time > to) continue;
        if (!used.empty() && epoch.quality > used.front()->quality) continue;
        if (!used.empty() && epoch.quality < used.front()->quality) used.clear();
        used.push_back(&epoch);
    }
    if (used.empty()) return result;

    // Summed as differences from the first epoch, which keeps a long occupation's sum exact.
    const SolutionEpoch& origin = *used.front();
    Ecef sum;
    for (const SolutionEpoch* epoch : used) {
        sum.x += epoch->x - origin.x;
        sum.y += epoch->y - origin.y;
        sum.z += epoch->z - origin.z;
    }
    const double n = static_cast<double>(used.size());
    const Ecef mean{origin.x + sum.x / n, origin.y + sum.y / n, origin.z + sum.z / n};
    const Geodetic position = toGeodetic(mean);
    result.lat = position.latitude / kRadiansPerDegree;
    result.lon = position.longitude / kRadiansPerDegree;
    result.h = position.height;
    const EnuAxes axes = enuAxes(position.latitude, position.longitude);
    if (used.size() > 1) {
        double e2 = 0.0, n2 = 0.0, u2 = 0.0;
        for (const SolutionEpoch* epoch : used) {
            const Enu d = toEnu(axes, {epoch->x - mean.x, epoch->y - mean.y, epoch->z - mean.z});
            e2 += d.e * d.e;
            n2 += d.n * d.n;
            u2 += d.u * d.u;
        }
        result.sdE = std::sqrt(e2 / (n - 1.0));
        result.sdN = std::sqrt(n2 / (n - 1.0));
        result.sdU = std::sqrt(u2 / (n - 1.0));
    }
    result.epochsUsed = static_cast<int>(used.size());
    result.quality = used.front()->quality;
    return result;
}

}  // namespace marvolt
