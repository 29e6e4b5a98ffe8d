#pragma once
// NMEA 0183 solution logs: GGA sentences give the positions, RMC and ZDA the dates; all on UTC.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "solution.h"

namespace marvolt {

// What one sentence gives a solution.
struct NmeaSentence {
    enum class Kind : std::uint8_t { Other, Position, Date };
    Kind kind = Kind::Other;
    double timeOfDay = 0.0;  // UTC seconds since midnight (Position and Date)
    double day = 0.0;        // Date: the UTC day's start, seconds since 1980-01-06
    SolutionEpoch epoch;     // Position: all but the time
};

// Reads a "$..." sentence of any talker (GP, GN, GL, GA, GB...). False when it cannot be
// read: a "*hh" checksum that does not match, too few fields for its kind, a field that is no
// number. A sentence without a checksum is read when its fields are all there. GGA of quality
// 4 (fix), 5 (float), 2 (DGPS) or 1 (single) is a Position, its height the altitude plus the
// geoid separation (none written: 0); RMC and ZDA with a date are a Date; every other
// sentence, and GGA of another quality, is Other.
bool readNmeaSentence(std::string_view line, NmeaSentence& sentence);

// Puts GGA times of day on their days and on GPS time. Each goes on the day that brings it
// within 12 hours of the instant known last (the latest RMC or ZDA, or the GGA before), so a
// log may run over midnight. GGA epochs before the first RMC or ZDA wait for it (up to
// kMostHeld); when none comes, they and the rest are dated from the observation date (its
// time of day when it has one, else its noon).
class NmeaDating {
  public:
    static constexpr std::size_t kMostHeld = 72000;  // an hour at 20 Hz

    // `observationDate`: days since 1899-12-30, 0 for none. `path` names the log in the error.
    NmeaDating(const std::string& path, double observationDate,
               const std::function<void(const SolutionEpoch&)>& emit);
    // An RMC or ZDA: UTC seconds since 1980-01-06.
    void date(double utc);
    // A GGA epoch at a UTC time of day. Fails with the "no date" Failure when epochs wait
    // beyond kMostHeld and there is no observation date.
    void position(double timeOfDay, const SolutionEpoch& epoch);
    // The end of the log: epochs still waiting are dated from the observation date, or the
    // "no date" Failure.
    void finish();

  private:
    void emit(double utc, SolutionEpoch epoch);
    void releaseByObservationDate();

    std::string path_;
    double observationDate_;
    const std::function<void(const SolutionEpoch&)>& emit_;
    bool known_ = false;  // reference_ holds an instant
    double reference_ = 0.0;
    std::vector<SolutionEpoch> held_;  // their time: the UTC time of day
};

}  // namespace marvolt
