#pragma once
// Positions on the WGS84 ellipsoid: geodetic latitude, longitude and height to and from
// earth-centred, earth-fixed x/y/z, and the local east/north/up frame at a point.

#include <cmath>

#include "solution.h"

namespace marvolt {

inline constexpr double kEarthSemiMajorAxis = 6378137.0;         // WGS84 a, metres
inline constexpr double kEarthFlattening = 1.0 / 298.257223563;  // WGS84 f
inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kRadiansPerDegree = kPi / 180.0;

// Latitude and longitude in radians, ellipsoidal height in metres.
struct Geodetic {
    double latitude = 0.0, longitude = 0.0, height = 0.0;
};

struct Ecef {
    double x = 0.0, y = 0.0, z = 0.0;
};

// The earth-centred x/y/z of a geodetic position.
inline Ecef toEcef(const Geodetic& p) {
    const double e2 = kEarthFlattening * (2.0 - kEarthFlattening);
    const double sinLat = std::sin(p.latitude), cosLat = std::cos(p.latitude);
    const double v = kEarthSemiMajorAxis / std::sqrt(1.0 - e2 * sinLat * sinLat);
    return {(v + p.height) * cosLat * std::cos(p.longitude),
            (v + p.height) * cosLat * std::sin(p.longitude), (v * (1.0 - e2) + p.height) * sinLat};
}

// The geodetic position of earth-centred x/y/z (iterated to well below a millimetre).
inline Geodetic toGeodetic(const Ecef& p) {
    const double e2 = kEarthFlattening * (2.0 - kEarthFlattening);
    const double r2 = p.x * p.x + p.y * p.y;
    double z = p.z, v = kEarthSemiMajorAxis;
    for (int step = 0; step < 10; ++step) {
        const double sinLat = z / std::sqrt(r2 + z * z);
        v = kEarthSemiMajorAxis / std::sqrt(1.0 - e2 * sinLat * sinLat);
        const double next = p.z + v * e2 * sinLat;
        const bool settled = std::fabs(next - z) < 1e-5;
        z = next;
        if (settled) break;
    }
    const bool onAxis = r2 < 1e-12;
    return {onAxis ? (p.z > 0.0 ? kPi / 2 : -kPi / 2) : std::atan(z / std::sqrt(r2)),
            onAxis ? 0.0 : std::atan2(p.y, p.x), std::sqrt(r2 + z * z) - v};
}

// The east, north and up unit vectors at a point, as earth-centred directions.
struct EnuAxes {
    Ecef east, north, up;
};

inline EnuAxes enuAxes(double latitude, double longitude) {
    const double sinLat = std::sin(latitude), cosLat = std::cos(latitude);
    const double sinLon = std::sin(longitude), cosLon = std::cos(longitude);
    return {{-sinLon, cosLon, 0.0},
            {-sinLat * cosLon, -sinLat * sinLon, cosLat},
            {cosLat * cosLon, cosLat * sinLon, sinLat}};
}

// An earth-centred vector (a baseline, a velocity) turned into east/north/up at a point.
inline Enu toEnu(const EnuAxes& axes, const Ecef& d) {
    const auto dot = [&](const Ecef& a) { return a.x * d.x + a.y * d.y + a.z * d.z; };
    return {dot(axes.east), dot(axes.north), dot(axes.up)};
}

// An east/north/up vector at a point turned into an earth-centred one.
inline Ecef toEcef(const EnuAxes& axes, const Enu& d) {
    const EnuAxes& a = axes;
    return {a.east.x * d.e + a.north.x * d.n + a.up.x * d.u,
            a.east.y * d.e + a.north.y * d.n + a.up.y * d.u,
            a.east.z * d.e + a.north.z * d.n + a.up.z * d.u};
}

}  // namespace marvolt
