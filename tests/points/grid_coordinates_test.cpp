// Polish grids through PROJ, checked against cs2cs (EPSG:9702 to 2180 and 2178).

#include "grid_coordinates.h"

#include <gtest/gtest.h>

#include "failure_text.h"
#include "platform_skip.h"

namespace marvolt::testing {
namespace {

TEST(GridCoordinates, Pl1992AndPl2000ZonesAgreeWithCs2cs) {
    MARVOLT_NOT_ON_WINDOWS("PROJ is not built for Windows");
    const struct {
        Grid grid;
        double lat, lon, x, y;
    } rows[] = {
        {Grid::Pl1992, 52.0, 21.0, 461197.2429, 637253.1611},
        {Grid::Pl2000, 52.0, 21.0, 5762899.7724, 7500000.0000},
        {Grid::Pl2000, 50.0, 15.0, 5540420.3963, 5500000.0000},  // zone 5
        {Grid::Pl2000, 54.0, 18.0, 5985455.1127, 6500000.0000},  // zone 6
        {Grid::Pl2000, 51.0, 24.0, 5651650.5118, 8500000.0000},  // zone 8
    };
    for (const auto& row : rows) {
        GridConverter converter(row.grid);
        const auto point = converter.convert(row.lat, row.lon);
        ASSERT_TRUE(point) << row.lat << " " << row.lon;
        EXPECT_NEAR(point->x, row.x, 1e-4) << row.lat << " " << row.lon;
        EXPECT_NEAR(point->y, row.y, 1e-4) << row.lat << " " << row.lon;
    }
}

TEST(GridCoordinates, ZonesAndExtent) {
    MARVOLT_NOT_ON_WINDOWS("PROJ is not built for Windows");
    EXPECT_EQ(pl2000Code(16.49), 2176);
    EXPECT_EQ(pl2000Code(16.5), 2177);
    EXPECT_EQ(pl2000Code(19.5), 2178);
    EXPECT_EQ(pl2000Code(22.5), 2179);
    GridConverter converter(Grid::Pl1992);
    for (const auto& [lat, lon] :
         {std::pair{48.99, 20.0}, std::pair{55.11, 20.0}, std::pair{52.0, 13.99},
          std::pair{52.0, 24.21}, std::pair{35.16, 139.61}})
        EXPECT_FALSE(converter.convert(lat, lon)) << lat << " " << lon;
    EXPECT_TRUE(converter.convert(49.0, 14.0));
    EXPECT_FALSE(GridConverter(Grid::None).convert(52.0, 21.0));
}

#ifdef _WIN32
TEST(GridCoordinates, WindowsSaysItHasNoGrids) {
    EXPECT_EQ(kDefaultGrid, Grid::None);
    EXPECT_EQ(
        testing::failureText([] { GridConverter converter(Grid::Pl2000); }),
        "Układ PL-2000 nie jest dostępny w wersji dla Windows: nie ma w niej biblioteki PROJ.");
    EXPECT_EQ(testing::failureText([] { GridConverter converter(Grid::None); }), "no failure");
}
#endif

}  // namespace
}  // namespace marvolt::testing
