#include "failure.h"
#include "grid_coordinates.h"

namespace marvolt {

// Debian ships no PROJ for Windows, so this build has no grids: points keep their latitude
// and longitude unless a grid is asked for, which is refused.
const Grid kDefaultGrid = Grid::None;

struct GridConverter::Proj {};

GridConverter::GridConverter(Grid grid) : grid_(grid) {
    if (grid != Grid::None)
        throw Failure("Układ " + gridName(grid) +
                      " nie jest dostępny w wersji dla Windows: nie ma w niej biblioteki PROJ.");
}

GridConverter::~GridConverter() = default;

std::optional<GridPoint> GridConverter::convert(double, double) { return std::nullopt; }

}  // namespace marvolt
