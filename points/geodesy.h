#pragma once
// Earth-centred coordinates and latitude, longitude, ellipsoidal height on the GRS80
// ellipsoid of ETRF2000 (WGS84's differs from it by a tenth of a millimetre).

namespace marvolt {

struct Ecef {
    double x = 0.0, y = 0.0, z = 0.0;  // metres
};

struct Geodetic {
    double lat = 0.0, lon = 0.0;  // degrees
    double h = 0.0;               // ellipsoidal height, metres
};

// Latitude, longitude and height of an earth-centred point (iterated to below 1e-12 rad).
Geodetic toGeodetic(const Ecef& point);
// The earth-centred point of a latitude, longitude and height.
Ecef toEcef(const Geodetic& point);

// An earth-centred difference turned into east, north, up at `origin`.
struct LocalEnu {
    double e = 0.0, n = 0.0, u = 0.0;
};
LocalEnu toLocal(const Ecef& difference, const Geodetic& origin);

}  // namespace marvolt
