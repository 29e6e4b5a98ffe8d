#pragma once
// Solutions of a made-up drive with known stops, for the rules that read motion from them.

#include <cstdint>
#include <utility>
#include <vector>

#include "solution.h"

namespace marvolt::testing {

struct DriveShape {
    std::vector<std::pair<double, double>> stops;  // seconds the antenna stands still, from-to
    double start = 0.0, end = 600.0;               // first and last epoch, seconds
    double interval = 1.0;
    double speed = 5.0;                           // m/s between stops, along the east
    double noise = 0.01;                          // standard deviation of each position, metres
    bool withVelocity = true;                     // velocity columns (with 2 cm/s of noise)
    std::vector<std::pair<double, double>> gaps;  // stretches without epochs, from-to
    SolutionQuality quality = SolutionQuality::Fix;
    std::uint32_t seed = 1;
};

// The epochs of the drive at 52° N 21° E (GPS seconds from 0), each with the shape's
// standard deviation; positions and velocities noisy, the noise reproducible by the seed.
std::vector<SolutionEpoch> generatedDrive(const DriveShape& shape);

}  // namespace marvolt::testing
