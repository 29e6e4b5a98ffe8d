#include "geodesy.h"

#include <cmath>

namespace marvolt {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSemiMajor = 6378137.0;
constexpr double kFlattening = 1.0 / 298.257222101;
constexpr double kE2 = kFlattening * (2.0 - kFlattening);

double radians(double degrees) { return degrees * kPi / 180.0; }
double degrees(double radians) { return radians * 180.0 / kPi; }

}  // namespace

Geodetic toGeodetic(const Ecef& point) {
    const double p = std::hypot(point.x, point.y);
    double lat = std::atan2(point.z, p * (1.0 - kE2));
    double h = 0.0;
    for (int i = 0; i < 20; ++i) {
        const double sinLat = std::sin(lat);
        const double n = kSemiMajor / std::sqrt(1.0 - kE2 * sinLat * sinLat);
        h = p / std::cos(lat) - n;
        const double next = std::atan2(point.z, p * (1.0 - kE2 * n / (n + h)));
        const bool done = std::fabs(next - lat) < 1e-12;
        lat = next;
        if (done) break;
    }
    const double sinLat = std::sin(lat);
    const double n = kSemiMajor / std::sqrt(1.0 - kE2 * sinLat * sinLat);
    // Near the poles cos(lat) is small: the height from z is the steadier one there.
    h = std::fabs(lat) < radians(80.0) ? p / std::cos(lat) - n : point.z / sinLat - n * (1.0 - kE2);
    return {degrees(lat), degrees(std::atan2(point.y, point.x)), h};
}

Ecef toEcef(const Geodetic& point) {
    const double lat = radians(point.lat), lon = radians(point.lon);
    const double n = kSemiMajor / std::sqrt(1.0 - kE2 * std::sin(lat) * std::sin(lat));
    return {(n + point.h) * std::cos(lat) * std::cos(lon),
            (n + point.h) * std::cos(lat) * std::sin(lon),
            (n * (1.0 - kE2) + point.h) * std::sin(lat)};
}

LocalEnu toLocal(const Ecef& d, const Geodetic& origin) {
    const double lat = radians(origin.lat), lon = radians(origin.lon);
    const double sinLat = std::sin(lat), cosLat = std::cos(lat);
    const double sinLon = std::sin(lon), cosLon = std::cos(lon);
    return {-sinLon * d.x + cosLon * d.y,
            -sinLat * cosLon * d.x - sinLat * sinLon * d.y + cosLat * d.z,
            cosLat * cosLon * d.x + cosLat * sinLon * d.y + sinLat * d.z};
}

}  // namespace marvolt
