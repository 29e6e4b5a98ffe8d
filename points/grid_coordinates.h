#pragma once
// Polish plane grids of ETRF2000-PL latitude and longitude, through PROJ: PL-2000 in the
// zone of the point's longitude, or PL-1992. Heights stay ellipsoidal: PROJ's data in Debian
// holds no Polish geoid model.

#include <memory>
#include <optional>
#include <string>

namespace marvolt {

enum class Grid { None, Pl2000, Pl1992 };

// x northing, y easting, metres, as Polish surveyors write them.
struct GridPoint {
    double x = 0.0, y = 0.0;
};

// The grid points are given in when none is asked for: PL-2000 where PROJ is built in, none
// on Windows.
extern const Grid kDefaultGrid;

// The grid's name as the user reads it: "PL-2000", "PL-1992", "" for none.
std::string gridName(Grid grid);

// True inside the extent the Polish grids serve: 49°-55.1° N, 14°-24.2° E.
bool insidePoland(double lat, double lon);

// The EPSG code of the PL-2000 zone of a longitude (2176-2179 for the central meridians 15°,
// 18°, 21°, 24°).
int pl2000Code(double lon);

// Turns ETRF2000-PL (EPSG 9702) latitude and longitude into one grid. Fails with "Nie mogę
// przeliczyć współrzędnych na układ <grid>: <PROJ's reason>" when PROJ cannot.
class GridConverter {
  public:
    explicit GridConverter(Grid grid);
    ~GridConverter();
    GridConverter(const GridConverter&) = delete;
    GridConverter& operator=(const GridConverter&) = delete;

    // The grid coordinates; none outside Poland's extent.
    std::optional<GridPoint> convert(double lat, double lon);

  private:
    struct Proj;
    Grid grid_;
    std::unique_ptr<Proj> proj_;
};

}  // namespace marvolt
