#pragma once
// RTKLIB's .pos solution files: the column-title line that gives their form and time system,
// the "% ref pos" origin of a baseline solution, and their data lines.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ecef.h"
#include "solution.h"

namespace marvolt {

enum class PositionForm : std::uint8_t { Degrees, DegreesMinutesSeconds, Ecef, Baseline };

// Where the values stand among the fields of a data line: fields are parted by blanks and
// by the separator, and a time (calendar date and time, or GPS week and seconds) is two
// fields, an angle in degrees, minutes and seconds three. -1: the file has no such column.
struct PosColumns {
    std::string timeSystem;  // the first title as written: "GPST", "UTC", or another
    char separator = ' ';
    PositionForm form = PositionForm::Degrees;
    int position[3] = {-1, -1, -1};  // latitude, longitude, height; x, y, z; or e, n, u
    int quality = -1;
    int satellites = -1;
    int deviation[3] = {-1, -1, -1};   // sde, sdn, sdu; or sdx, sdy, sdz
    int covariance[3] = {-1, -1, -1};  // sdxy, sdyz, sdzx (signed roots), earth-centred only
    int velocity[3] = {-1, -1, -1};    // ve, vn, vu; or vx, vy, vz
    int fields = 0;                    // how many a data line needs: through the last read
};

// The columns a "%  GPST  latitude(deg) ..." title line names; nullopt for any other line.
std::optional<PosColumns> readPosTitle(std::string_view line);

// The origin a "% ref pos   : ..." line gives (the text after the colon: latitude,
// longitude and height in degrees or in degrees, minutes and seconds, or x, y, z); nullopt
// when it cannot be read.
std::optional<Ecef> readReferencePosition(std::string_view text, char separator);

// Reads the data lines of one form; the times go to GPS time.
class PosLineReader {
  public:
    // `origin`: where a baseline starts (the "ref pos"); needed for the baseline form only.
    PosLineReader(const PosColumns& columns, const std::optional<Ecef>& origin);
    // Reads a data line; false when it cannot be read (too few fields, a field that is no
    // number, a quality other than 1 to 6, a negative deviation, a latitude beyond the pole, a
    // baseline without an origin).
    bool read(std::string_view line, SolutionEpoch& epoch);

  private:
    // Cuts the line into the fields it needs; false when it has fewer.
    bool split(std::string_view line);

    PosColumns columns_;
    std::array<bool, 256> apart_{};         // the bytes that part fields
    std::vector<std::string_view> fields_;  // those of the line at hand
    std::optional<Ecef> origin_;
    EnuAxes originAxes_;
    bool utc_;
};

}  // namespace marvolt
