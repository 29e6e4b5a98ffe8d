#pragma once
// A kinematic solution as read from a file: one position per epoch, on GPS time, with the
// quality the processing gave it.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
    std::optional<Enu> sd;        // standard deviations north/east/up as east/north/up, metres
    std::optional<Enu> velocity;  // when the file has velocity columns that are not all zero
};

struct Solution {
    std::vector<SolutionEpoch> epochs;  // in time order
};

}  // namespace marvolt
