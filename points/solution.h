#pragma once
// A kinematic solution as read from a file: one position per epoch, on GPS time, with the
// quality the processing gave it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace marvolt {

// GPS time as seconds since the start of GPS time (1980-01-06 00:00:00 GPST).
using GpsSeconds = double;

// The quality of one solution epoch, best first (RTKLIB's Q; NMEA GGA's quality mapped onto it).
enum class SolutionQuality : std::uint8_t {
    Fix = 1,
    Float = 2,
    Sbas = 3,
    Dgps = 4,
    Single = 5,
    Ppp = 6
};

// East, north and up, in metres or metres per second.
struct Enu {
    double e = 0.0, n = 0.0, u = 0.0;
};

struct SolutionEpoch {
    GpsSeconds time = 0.0;
    double x = 0.0, y = 0.0, z = 0.0;  // earth-centred, earth-fixed, metres
    SolutionQuality quality = SolutionQuality::Single;
    int satellites = 0;
    // Standard deviations east/north/up, metres; those of an earth-centred solution are turned
    // to east/north/up from its covariance (sdx..sdzx).
    std::optional<Enu> sd;
    // East/north/up, m/s, whenever the file has velocity columns. RTKLIB writes zeros where
    // it estimated none: a velocity zero throughout the file is no velocity, which the
    // consumer tells.
    std::optional<Enu> velocity;
};

class Services;

// Reads a solution file as a stream (a day at 20 Hz is 1.7 million epochs): RTKLIB's .pos in
// any of its forms, or an NMEA 0183 log of GGA sentences dated by RMC or ZDA. Each epoch read
// goes to `epoch` in file order, on GPS time. `observationDate` (days since 1899-12-30, 0 for
// none) dates GGA sentences when the log has no RMC or ZDA. Unreadable lines are reported
// through `services` and passed by; a file with no solution at all, another time system or
// no date ends it with a Failure.
void readSolution(const std::string& path, double observationDate,
                  const std::function<void(const SolutionEpoch&)>& epoch, Services& services);

}  // namespace marvolt
