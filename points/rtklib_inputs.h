#pragma once
// What rnx2rtkp is told about its inputs, read from their RINEX headers: the rover's
// frequencies and observation span, the navigation files' satellite systems.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace marvolt {

// True when a RINEX observation header lists a second-frequency observation (version 2: L2,
// P2 or C2; version 3 and 4: an L2 phase); false also for a file that cannot be read.
bool hasSecondFrequency(const std::string& observationPath);

// The satellite systems the navigation files carry, as RTKLIB's pos1-navsys mask (1 GPS,
// 2 SBAS, 4 GLONASS, 8 Galileo, 16 QZSS, 32 BeiDou, 64 NavIC), from each file's first line:
// RINEX 2 names its kind (N GPS, G GLONASS, H SBAS), RINEX 3 its system (M all). GPS when
// none can be told.
int navigationSystems(const std::vector<std::string>& paths);

// The seconds since 1980-01-06 of the first six numbers of a text, "y m d h m s" (a two-digit
// year from 1980 to 2079); nullopt when the text holds no such date.
std::optional<double> readDateFields(const std::string& text);

// The rover's observation span, seconds since 1980-01-06: TIME OF FIRST OBS to TIME OF LAST
// OBS, or to the last epoch line in its last 64 KiB; 0 for what cannot be found.
std::pair<double, double> observationSpan(const std::string& path);

}  // namespace marvolt
