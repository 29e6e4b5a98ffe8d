// Geodetic positions to and from earth-centred x/y/z, and the east/north/up frame.

#include "ecef.h"

#include <gtest/gtest.h>

namespace marvolt {
namespace {

// Pairs that rnx2rtkp wrote for the same positions, and points on the axes.
TEST(EcefTest, GeodeticAndEarthCentredAgree) {
    const struct {
        double latitude, longitude, height;  // degrees, metres
        Ecef ecef;
        double tolerance;  // metres: the rounding of what was written
    } points[] = {
        {35.132066140, 139.624302130, 75.8027, {-3978242.4348, 3382841.1715, 3649902.7667}, 3e-4},
        {0, 0, 0, {6378137.0, 0, 0}, 1e-9},
        {0, 90, -100, {0, 6378037.0, 0}, 1e-9},
        {90, 0, 0, {0, 0, 6356752.314245}, 1e-6},
        {-90, 0, 10, {0, 0, -6356762.314245}, 1e-6},
    };
    for (const auto& p : points) {
        SCOPED_TRACE(p.latitude);
        const Geodetic g{p.latitude * kRadiansPerDegree, p.longitude * kRadiansPerDegree, p.height};
        const Ecef e = toEcef(g);
        EXPECT_NEAR(e.x, p.ecef.x, p.tolerance);
        EXPECT_NEAR(e.y, p.ecef.y, p.tolerance);
        EXPECT_NEAR(e.z, p.ecef.z, p.tolerance);
        const Geodetic back = toGeodetic(e);
        EXPECT_NEAR(back.latitude, g.latitude, 1e-11);
        if (std::fabs(p.latitude) < 90) {
            EXPECT_NEAR(back.longitude, g.longitude, 1e-11);
        }
        EXPECT_NEAR(back.height, g.height, 1e-4);
    }
}

// South, west, below the ellipsoid, near the date line: back where they were.
TEST(EcefTest, RoundTrips) {
    const Geodetic points[] = {{-0.59, -2.64, 50.0}, {0.001, 3.14, -120.0}, {-1.5, 1.2, 8848.0}};
    for (const Geodetic& p : points) {
        const Geodetic back = toGeodetic(toEcef(p));
        EXPECT_NEAR(back.latitude, p.latitude, 1e-11);
        EXPECT_NEAR(back.longitude, p.longitude, 1e-11);
        EXPECT_NEAR(back.height, p.height, 1e-4);
    }
}

// East, north and up where the axes are plain: at 0/0 east is +y, north +z, up +x.
TEST(EcefTest, EastNorthUp) {
    const EnuAxes axes = enuAxes(0.0, 0.0);
    const Enu enu = toEnu(axes, Ecef{1.0, 2.0, 3.0});
    EXPECT_NEAR(enu.e, 2.0, 1e-15);
    EXPECT_NEAR(enu.n, 3.0, 1e-15);
    EXPECT_NEAR(enu.u, 1.0, 1e-15);
    const EnuAxes tokyo = enuAxes(35.6 * kRadiansPerDegree, 139.7 * kRadiansPerDegree);
    const Ecef back = toEcef(tokyo, toEnu(tokyo, Ecef{-953.3, 3196.2, -6.4}));
    EXPECT_NEAR(back.x, -953.3, 1e-9);
    EXPECT_NEAR(back.y, 3196.2, 1e-9);
    EXPECT_NEAR(back.z, -6.4, 1e-9);
}

}  // namespace
}  // namespace marvolt
