#include "grid_coordinates.h"

namespace marvolt {

namespace {

constexpr int kPl2000FirstZone = 2176;  // central meridian 15°, then 18°, 21°, 24°

}  // namespace

std::string gridName(Grid grid) {
    switch (grid) {
        case Grid::Pl2000:
            return "PL-2000";
        case Grid::Pl1992:
            return "PL-1992";
        default:
            return "";
    }
}

bool insidePoland(double lat, double lon) {
    return lat >= 49.0 && lat <= 55.1 && lon >= 14.0 && lon <= 24.2;
}

int pl2000Code(double lon) {
    if (lon < 16.5) return kPl2000FirstZone;
    if (lon < 19.5) return kPl2000FirstZone + 1;
    if (lon < 22.5) return kPl2000FirstZone + 2;
    return kPl2000FirstZone + 3;
}

}  // namespace marvolt
