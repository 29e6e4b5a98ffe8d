#include <proj.h>

#include <cmath>
#include <map>

#include "failure.h"
#include "grid_coordinates.h"

namespace marvolt {

namespace {

constexpr const char* kEtrf2000Pl = "EPSG:9702";
constexpr int kPl1992 = 2180;

}  // namespace

const Grid kDefaultGrid = Grid::Pl2000;

struct GridConverter::Proj {
    PJ_CONTEXT* context = nullptr;
    std::map<int, PJ*> transforms;  // by the grid's EPSG code

    ~Proj() {
        for (auto& [code, transform] : transforms) proj_destroy(transform);
        proj_context_destroy(context);
    }
};

GridConverter::GridConverter(Grid grid) : grid_(grid), proj_(std::make_unique<Proj>()) {
    proj_->context = proj_context_create();
}

GridConverter::~GridConverter() = default;

std::optional<GridPoint> GridConverter::convert(double lat, double lon) {
    if (grid_ == Grid::None || !insidePoland(lat, lon)) return std::nullopt;
    const int code = grid_ == Grid::Pl1992 ? kPl1992 : pl2000Code(lon);
    PJ*& transform = proj_->transforms[code];
    const auto fail = [&] {
        const int error = proj_context_errno(proj_->context);
        return Failure("Nie mogę przeliczyć współrzędnych na układ " + gridName(grid_) + ": " +
                       proj_context_errno_string(proj_->context, error));
    };
    if (!transform) {
        const std::string target = "EPSG:" + std::to_string(code);
        transform = proj_create_crs_to_crs(proj_->context, kEtrf2000Pl, target.c_str(), nullptr);
        if (!transform) throw fail();
    }
    // Both systems keep their EPSG axis order: latitude first in, northing first out.
    const PJ_COORD out = proj_trans(transform, PJ_FWD, proj_coord(lat, lon, 0.0, 0.0));
    if (out.v[0] == HUGE_VAL) throw fail();
    return GridPoint{out.v[0], out.v[1]};
}

}  // namespace marvolt
