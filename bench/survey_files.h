#pragma once
// The survey the benchmark works on: a RINEX 2.11 file of epochs from midnight and a time
// file of points spread over it, both generated.

#include <cstddef>
#include <string>

namespace marvolt::bench {

inline constexpr int kSatelliteCount = 12;
inline constexpr int kObservationTypeCount = 9;  // two observation lines a satellite
inline constexpr int kPointCount = 200;

struct SurveyFile {
    std::size_t bytes = 0;
    std::size_t lines = 0;
    int epochs = 0;
};

// Writes `hours` of epochs of 4 June 2011, `rate` a second (1 to 20), in the standard
// blank-padded layout, each line ended by `lineEnd` ("\r\n" or "\n").
SurveyFile writeRinexFile(const std::string& path, int hours, int rate, const char* lineEnd);

// Writes kPointCount points spread evenly over the first `hours`, on a watch running
// 2 min 35 s ahead of the receiver, the first STOP on the first epoch.
void writeTimeFile(const std::string& path, int hours);

// Writes `points` points in random STOP order (a fixed seed), each occupied for a minute.
void writeShuffledTimeFile(const std::string& path, int points);

}  // namespace marvolt::bench
