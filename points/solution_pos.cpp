#include "solution_pos.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "gps_time.h"
#include "solution_fields.h"

namespace marvolt {
namespace {

constexpr std::size_t kMostFields = 48;
constexpr int kTimeFields = 2;
constexpr int kAngleFields = 3;
constexpr double kSecondsPerHour = 3600.0;
constexpr double kSecondsPerMinute = 60.0;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Cuts a line into fields parted by blanks and by `separator`; how many (up to kMostFields).
std::size_t splitFields(std::string_view line, char separator, std::string_view* fields) {
    std::size_t count = 0;
    const char* p = line.data();
    const char* const end = p + line.size();
    const auto apart = [separator](char c) { return c == ' ' || c == '\t' || c == separator; };
    while (count < kMostFields) {
        while (p < end && apart(*p)) ++p;
        if (p == end) break;
        const char* const start = p;
        while (p < end && !apart(*p)) ++p;
        fields[count++] = std::string_view(start, static_cast<std::size_t>(p - start));
    }
    return count;
}

// What one column title stands for: a slot in PosColumns and the form it implies.
struct Title {
    std::string_view name;
    int PosColumns::*single;
    int (PosColumns::*triple)[3];
    int index;
    std::optional<PositionForm> form;
};

const Title kTitles[] = {
    {"latitude(deg)", nullptr, &PosColumns::position, 0, PositionForm::Degrees},
    {"longitude(deg)", nullptr, &PosColumns::position, 1, PositionForm::Degrees},
    {"latitude(d'\")", nullptr, &PosColumns::position, 0, PositionForm::DegreesMinutesSeconds},
    {"longitude(d'\")", nullptr, &PosColumns::position, 1, PositionForm::DegreesMinutesSeconds},
    {"height(m)", nullptr, &PosColumns::position, 2, std::nullopt},
    {"x-ecef(m)", nullptr, &PosColumns::position, 0, PositionForm::Ecef},
    {"y-ecef(m)", nullptr, &PosColumns::position, 1, PositionForm::Ecef},
    {"z-ecef(m)", nullptr, &PosColumns::position, 2, PositionForm::Ecef},
    {"e-baseline(m)", nullptr, &PosColumns::position, 0, PositionForm::Baseline},
    {"n-baseline(m)", nullptr, &PosColumns::position, 1, PositionForm::Baseline},
    {"u-baseline(m)", nullptr, &PosColumns::position, 2, PositionForm::Baseline},
    {"Q", &PosColumns::quality, nullptr, 0, std::nullopt},
    {"ns", &PosColumns::satellites, nullptr, 0, std::nullopt},
    {"sde(m)", nullptr, &PosColumns::deviation, 0, std::nullopt},
    {"sdn(m)", nullptr, &PosColumns::deviation, 1, std::nullopt},
    {"sdu(m)", nullptr, &PosColumns::deviation, 2, std::nullopt},
    {"sdx(m)", nullptr, &PosColumns::deviation, 0, std::nullopt},
    {"sdy(m)", nullptr, &PosColumns::deviation, 1, std::nullopt},
    {"sdz(m)", nullptr, &PosColumns::deviation, 2, std::nullopt},
    {"sdxy(m)", nullptr, &PosColumns::covariance, 0, std::nullopt},
    {"sdyz(m)", nullptr, &PosColumns::covariance, 1, std::nullopt},
    {"sdzx(m)", nullptr, &PosColumns::covariance, 2, std::nullopt},
    {"ve(m/s)", nullptr, &PosColumns::velocity, 0, std::nullopt},
    {"vn(m/s)", nullptr, &PosColumns::velocity, 1, std::nullopt},
    {"vu(m/s)", nullptr, &PosColumns::velocity, 2, std::nullopt},
    {"vx(m/s)", nullptr, &PosColumns::velocity, 0, std::nullopt},
    {"vy(m/s)", nullptr, &PosColumns::velocity, 1, std::nullopt},
    {"vz(m/s)", nullptr, &PosColumns::velocity, 2, std::nullopt},
};

// Degrees, or degrees, minutes and seconds (the sign on the degrees), from fields[at].
bool readAngle(const std::string_view* fields, int at, bool sexagesimal, double& degrees) {
    if (!sexagesimal) return readDecimal(fields[at], degrees);
    double d = 0.0, m = 0.0, s = 0.0;
    if (!readDecimal(fields[at], d) || !readDecimal(fields[at + 1], m) ||
        !readDecimal(fields[at + 2], s))
        return false;
    const double size = std::fabs(d) + m / 60.0 + s / 3600.0;
    degrees = fields[at][0] == '-' ? -size : size;
    return true;
}

// Two decimal digits at `at`, within [0, high].
bool readTwoDigits(std::string_view text, std::size_t at, int high, int& value) {
    const unsigned tens = static_cast<unsigned>(text[at] - '0');
    const unsigned ones = static_cast<unsigned>(text[at + 1] - '0');
    value = static_cast<int>(tens * 10 + ones);
    return tens < 10 && ones < 10 && value <= high;
}

// A calendar time ("2005/04/02", "00:00:30.000") or a GPS week and its seconds, as seconds
// since 1980-01-06 on the file's time scale.
bool readTime(std::string_view date, std::string_view time, double& seconds) {
    if (date.find('/') == std::string_view::npos) {
        int week = 0;
        double secondsOfWeek = 0.0;
        if (!readWhole(date, 0, 9999, week) || !readDecimal(time, secondsOfWeek) ||
            secondsOfWeek < 0.0 || secondsOfWeek > 2 * kSecondsPerWeek)
            return false;
        seconds = weekSeconds(week, secondsOfWeek);
        return true;
    }
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double second = 0.0;
    if (date.size() != 10 || date[4] != '/' || date[7] != '/' ||
        !readWhole(date.substr(0, 4), 1980, 2999, year) || !readTwoDigits(date, 5, 12, month) ||
        !readTwoDigits(date, 8, 31, day) || month == 0 || day == 0 || time.size() < 8 ||
        time[2] != ':' || time[5] != ':' || !readTwoDigits(time, 0, 23, hour) ||
        !readTwoDigits(time, 3, 59, minute) || !readDecimal(time.substr(6), second) ||
        second >= 61.0)
        return false;
    seconds =
        daySeconds(year, month, day) + hour * kSecondsPerHour + minute * kSecondsPerMinute + second;
    return true;
}

// The three values of columns `at`, all there or none (false when some cannot be read).
bool readTriple(const std::string_view* fields, const int (&at)[3], std::optional<Ecef>& value) {
    if (at[0] < 0 || at[1] < 0 || at[2] < 0) return true;
    Ecef v;
    if (!readDecimal(fields[at[0]], v.x) || !readDecimal(fields[at[1]], v.y) ||
        !readDecimal(fields[at[2]], v.z))
        return false;
    value = v;
    return true;
}

// East/north/up deviations from an earth-centred covariance (the diagonal from sdx..sdz,
// the rest from the signed roots sdxy, sdyz, sdzx).
Enu deviationsAt(const EnuAxes& axes, const Ecef& sd, const std::optional<Ecef>& roots) {
    const auto square = [](double r) { return r < 0 ? -r * r : r * r; };
    const Ecef c = roots ? Ecef{square(roots->x), square(roots->y), square(roots->z)} : Ecef{};
    const auto along = [&](const Ecef& a) {
        const double v = a.x * a.x * sd.x * sd.x + a.y * a.y * sd.y * sd.y +
                         a.z * a.z * sd.z * sd.z +
                         2.0 * (a.x * a.y * c.x + a.y * a.z * c.y + a.z * a.x * c.z);
        return std::sqrt(std::fmax(v, 0.0));
    };
    return {along(axes.east), along(axes.north), along(axes.up)};
}

}  // namespace

std::optional<PosColumns> readPosTitle(std::string_view line) {
    if (line.empty() || line[0] != '%') return std::nullopt;
    line.remove_prefix(1);
    std::size_t i = 0;
    while (i < line.size() && isBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && std::isalnum(static_cast<unsigned char>(line[i]))) ++i;
    PosColumns columns;
    columns.timeSystem = std::string(line.substr(start, i - start));
    while (i < line.size() && isBlank(line[i])) ++i;
    if (columns.timeSystem.empty() || i == line.size()) return std::nullopt;
    if (!std::isalpha(static_cast<unsigned char>(line[i]))) columns.separator = line[i];

    std::string_view titles[kMostFields];
    const std::size_t count = splitFields(line.substr(i), columns.separator, titles);
    std::optional<PositionForm> form;
    int field = kTimeFields;
    int needed = kTimeFields;
    for (std::size_t t = 0; t < count; ++t) {
        int width = 1;
        for (const Title& title : kTitles) {
            if (title.name != titles[t]) continue;
            if (title.form) {
                if (form && *form != *title.form) return std::nullopt;
                form = title.form;
            }
            if (title.form == PositionForm::DegreesMinutesSeconds) width = kAngleFields;
            int& slot = title.single ? columns.*title.single : (columns.*title.triple)[title.index];
            slot = field;
            needed = std::max(needed, field + width);
        }
        field += width;
    }
    const int* p = columns.position;
    if (!form || p[0] < 0 || p[1] < 0 || p[2] < 0) return std::nullopt;
    columns.form = *form;
    columns.fields = needed;
    return columns;
}

std::optional<Ecef> readReferencePosition(std::string_view text, char separator) {
    std::string_view fields[kMostFields];
    const std::size_t count = splitFields(text, separator, fields);
    if (count != 3 && count != 7) return std::nullopt;
    double v[3];
    if (count == 3) {
        for (int k = 0; k < 3; ++k)
            if (!readDecimal(fields[k], v[k])) return std::nullopt;
        if (std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]) > 1e6) return Ecef{v[0], v[1], v[2]};
    } else if (!readAngle(fields, 0, true, v[0]) || !readAngle(fields, 3, true, v[1]) ||
               !readDecimal(fields[6], v[2])) {
        return std::nullopt;
    }
    if (std::fabs(v[0]) > 90.0) return std::nullopt;
    return toEcef(Geodetic{v[0] * kRadiansPerDegree, v[1] * kRadiansPerDegree, v[2]});
}

PosLineReader::PosLineReader(const PosColumns& columns, const std::optional<Ecef>& origin)
    : columns_(columns),
      fields_(static_cast<std::size_t>(columns.fields)),
      origin_(origin),
      utc_(columns.timeSystem == "UTC") {
    apart_[' '] = apart_['\t'] = true;
    apart_[static_cast<unsigned char>(columns.separator)] = true;
    if (origin_) {
        const Geodetic g = toGeodetic(*origin_);
        originAxes_ = enuAxes(g.latitude, g.longitude);
    }
}

bool PosLineReader::split(std::string_view line) {
    const char* p = line.data();
    const char* const end = p + line.size();
    const auto apart = [this](char c) { return apart_[static_cast<unsigned char>(c)]; };
    for (std::string_view& field : fields_) {
        while (p < end && apart(*p)) ++p;
        if (p == end) return false;
        const char* const start = p;
        while (p < end && !apart(*p)) ++p;
        field = std::string_view(start, static_cast<std::size_t>(p - start));
    }
    return true;
}

bool PosLineReader::read(std::string_view line, SolutionEpoch& epoch) {
    if (!split(line)) return false;
    const std::string_view* f = fields_.data();
    double seconds = 0.0;
    if (!readTime(f[0], f[1], seconds)) return false;
    epoch.time = utc_ ? gpsFromUtc(seconds) : seconds;

    const int* p = columns_.position;
    double v[3];
    const bool sexagesimal = columns_.form == PositionForm::DegreesMinutesSeconds;
    const bool angles = columns_.form == PositionForm::Degrees || sexagesimal;
    if (!readAngle(f, p[0], angles && sexagesimal, v[0]) ||
        !readAngle(f, p[1], angles && sexagesimal, v[1]) || !readDecimal(f[p[2]], v[2]))
        return false;

    int quality = 0;
    if (columns_.quality >= 0 && !readWhole(f[columns_.quality], 1, 6, quality)) return false;
    epoch.quality =
        columns_.quality >= 0 ? static_cast<SolutionQuality>(quality) : SolutionQuality::Single;
    epoch.satellites = 0;
    if (columns_.satellites >= 0 && !readWhole(f[columns_.satellites], 0, 999, epoch.satellites))
        return false;

    std::optional<Ecef> sd, roots, velocity;
    if (!readTriple(f, columns_.deviation, sd) || !readTriple(f, columns_.covariance, roots) ||
        !readTriple(f, columns_.velocity, velocity))
        return false;
    if (sd && (sd->x < 0 || sd->y < 0 || sd->z < 0)) return false;

    Ecef position;
    if (angles) {
        if (std::fabs(v[0]) > 90.0 || std::fabs(v[1]) > 360.0) return false;
        position = toEcef(Geodetic{v[0] * kRadiansPerDegree, v[1] * kRadiansPerDegree, v[2]});
    } else if (columns_.form == PositionForm::Baseline) {
        if (!origin_) return false;
        const Ecef d = toEcef(originAxes_, Enu{v[0], v[1], v[2]});
        position = {origin_->x + d.x, origin_->y + d.y, origin_->z + d.z};
    } else {
        position = {v[0], v[1], v[2]};
    }
    epoch.x = position.x;
    epoch.y = position.y;
    epoch.z = position.z;

    // Deviations and velocity of an earth-centred solution are turned to east/north/up there.
    const bool earthCentred = columns_.form == PositionForm::Ecef;
    EnuAxes axes;
    if (earthCentred && (sd || velocity)) {
        const Geodetic g = toGeodetic(position);
        axes = enuAxes(g.latitude, g.longitude);
    }
    epoch.sd.reset();
    if (sd) epoch.sd = earthCentred ? deviationsAt(axes, *sd, roots) : Enu{sd->x, sd->y, sd->z};
    epoch.velocity.reset();
    if (velocity)
        epoch.velocity =
            earthCentred ? toEnu(axes, *velocity) : Enu{velocity->x, velocity->y, velocity->z};
    return true;
}

}  // namespace marvolt
