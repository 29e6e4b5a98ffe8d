#pragma once
// The points of a survey written out: the CSV file and the table marvolt-cli prints, which
// shows the same values.

#include <string>
#include <vector>

#include "survey_check.h"

namespace marvolt {

// The CSV's columns: point,lat,lon,h,x,y,sd_n,sd_e,sd_u,epochs_used,epochs_window,
// fix_share,stop_watch,go_watch,stop_data,go_data,stop_offset_s,go_offset_s,state.
std::vector<std::string> pointColumns();

// One point's values as the CSV writes them (UTF-8 name, degrees to 9 decimals, metres to
// 4, fix share to 3, GPS times in ISO 8601, offsets with a sign); an empty text where there
// is no value. A point with no data or in motion has only its name, epoch count, fix share,
// watch times and state.
std::vector<std::string> pointValues(const PointResult& point);

// A CSV field: quoted, with its quotes doubled, when it holds a comma, quote or line end.
std::string csvField(const std::string& value);

// Writes the header row and a row per point, UTF-8 without BOM, LF line ends, safely:
// through a temporary file renamed over `path`.
void writePointsCsv(const std::string& path, const std::vector<PointResult>& points);

// The printed table's lines (each ending in a newline): the header row and a line per point,
// tab-separated, x and y left out when `withGrid` is false.
std::string pointsTable(const std::vector<PointResult>& points, bool withGrid);

}  // namespace marvolt
