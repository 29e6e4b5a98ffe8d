#include "points_report.h"

#include <cstdio>

#include "block_writer.h"
#include "temporary_file.h"
#include "text_encoding.h"
#include "time_system.h"

namespace marvolt {

namespace {

constexpr std::size_t kGridX = 4;  // the columns x and y
constexpr std::size_t kGridY = 5;

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string signedSeconds(const std::optional<double>& offset) {
    if (!offset) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%+.1f", *offset);
    // A rounded -0.0 reads as no offset at all.
    return std::string(text) == "-0.0" ? "+0.0" : text;
}

std::string timeOrEmpty(const std::optional<GpsSeconds>& time) {
    return time ? isoGpsTime(*time) : std::string();
}

std::string joined(const std::vector<std::string>& cells, char separator) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += separator;
        line += cells[i];
    }
    return line + '\n';
}

std::vector<std::string> csvRow(std::vector<std::string> cells) {
    for (std::string& cell : cells) cell = csvField(cell);
    return cells;
}

std::vector<std::string> withoutGrid(std::vector<std::string> cells) {
    cells.erase(cells.begin() + kGridX, cells.begin() + kGridY + 1);
    return cells;
}

}  // namespace

std::vector<std::string> pointColumns() {
    return {"point",
            "lat",
            "lon",
            "h",
            "x",
            "y",
            "sd_n",
            "sd_e",
            "sd_u",
            "epochs_used",
            "epochs_window",
            "fix_share",
            "stop_watch",
            "go_watch",
            "stop_data",
            "go_data",
            "stop_offset_s",
            "go_offset_s",
            "state"};
}

std::vector<std::string> pointValues(const PointResult& point) {
    std::vector<std::string> cells(pointColumns().size());
    cells[0] = cp1250ToUtf8(point.window.name);
    cells[10] = std::to_string(point.epochsWindow);
    if (point.epochsWindow > 0) cells[11] = fixed(point.fixShare, 3);
    cells[12] = isoGpsTime(point.window.stop);
    cells[13] = isoGpsTime(point.window.go);
    cells[18] = stateText(point.state);
    if (point.state == PointState::NoData || point.state == PointState::Moving) return cells;

    const PointCoordinate& c = point.coordinate;
    if (c.epochsUsed > 0) {
        cells[1] = fixed(c.lat, 9);
        cells[2] = fixed(c.lon, 9);
        cells[3] = fixed(c.h, 4);
        cells[6] = fixed(c.sdN, 4);
        cells[7] = fixed(c.sdE, 4);
        cells[8] = fixed(c.sdU, 4);
    }
    if (point.grid) {
        cells[kGridX] = fixed(point.grid->x, 4);
        cells[kGridY] = fixed(point.grid->y, 4);
    }
    cells[9] = std::to_string(c.epochsUsed);
    cells[14] = timeOrEmpty(point.stopData);
    cells[15] = timeOrEmpty(point.goData);
    cells[16] = signedSeconds(point.stopOffset());
    cells[17] = signedSeconds(point.goOffset());
    return cells;
}

std::string csvField(const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

void writePointsCsv(const std::string& path, const std::vector<PointResult>& points) {
    const Replacement replacement = prepareReplacement(path);
    TemporaryFile file(replacement.target, path);
    BlockWriter writer(file.fd());
    writer.write(joined(pointColumns(), ','));
    for (const PointResult& point : points) writer.write(joined(csvRow(pointValues(point)), ','));
    writer.flush();
    file.replaceTarget(replacement.ownership);
}

std::string pointsTable(const std::vector<PointResult>& points, bool withGrid) {
    const auto shown = [&](std::vector<std::string> cells) {
        return joined(withGrid ? cells : withoutGrid(std::move(cells)), '\t');
    };
    std::string table = shown(pointColumns());
    for (const PointResult& point : points) table += shown(csvRow(pointValues(point)));
    return table;
}

}  // namespace marvolt
