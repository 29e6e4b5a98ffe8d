#include "generated_drive.h"

#include <cmath>
#include <random>

#include "ecef.h"

namespace marvolt::testing {

std::vector<SolutionEpoch> generatedDrive(const DriveShape& shape) {
    std::mt19937 random(shape.seed);
    std::normal_distribution<double> gauss(0.0, 1.0);
    const auto standing = [&](double t) {
        for (const auto& [from, to] : shape.stops)
            if (t >= from && t <= to) return true;
        return false;
    };
    const double lat = 52.0 * kRadiansPerDegree, lon = 21.0 * kRadiansPerDegree;
    const Ecef base = toEcef(Geodetic{lat, lon, 100.0});

    std::vector<SolutionEpoch> epochs;
    double east = 0.0;  // metres driven
    const double step = 0.01;
    double clock = shape.start;
    const auto count =
        static_cast<long>(std::floor((shape.end - shape.start) / shape.interval + 1e-6));
    for (long k = 0; k <= count; ++k) {
        const double t = shape.start + static_cast<double>(k) * shape.interval;
        for (; clock + step <= t + 1e-9; clock += step)
            if (!standing(clock + step / 2)) east += shape.speed * step;
        bool inGap = false;
        for (const auto& [from, to] : shape.gaps) inGap = inGap || (t > from && t < to);
        if (inGap) continue;
        const double e = east + shape.noise * gauss(random);
        const double n = shape.noise * gauss(random);
        const double u = shape.noise * gauss(random);
        SolutionEpoch epoch;
        epoch.time = t;
        epoch.x = base.x - std::sin(lon) * e - std::sin(lat) * std::cos(lon) * n +
                  std::cos(lat) * std::cos(lon) * u;
        epoch.y = base.y + std::cos(lon) * e - std::sin(lat) * std::sin(lon) * n +
                  std::cos(lat) * std::sin(lon) * u;
        epoch.z = base.z + std::cos(lat) * n + std::sin(lat) * u;
        epoch.quality = shape.quality;
        epoch.satellites = 12;
        epoch.sd = Enu{shape.noise, shape.noise, shape.noise};
        if (shape.withVelocity)
            epoch.velocity = Enu{(standing(t) ? 0.0 : shape.speed) + 0.02 * gauss(random),
                                 0.02 * gauss(random), 0.02 * gauss(random)};
        epochs.push_back(epoch);
    }
    return epochs;
}

}  // namespace marvolt::testing
