#pragma once
// What a file is, told by its first line: a RINEX observation file whose epochs can be read,
// or a file to refuse before any point is checked.

#include <cstddef>
#include <string>
#include <string_view>

#include "epoch_layout.h"

namespace marvolt {

inline constexpr std::string_view kVersionLabel = "RINEX VERSION / TYPE";
inline constexpr std::string_view kCompactVersionLabel = "CRINEX VERS   / TYPE";  // Hatanaka
inline constexpr std::size_t kVersionLength = 9;      // the version, F9.2, columns 1 to 9
inline constexpr std::size_t kFileTypePosition = 20;  // the file type, column 21
inline constexpr char kObservationFileType = 'O';

// The epoch layout of a file from its first line. A "RINEX VERSION / TYPE" record of
// version 1 or 2, or any other first line, gives the version 2 layout; version 3 or 4 the
// version 3 layout. Fails, naming the file by its full path, for a gzip or Unix-compress
// file (first bytes 1F 8B or 1F 9D) or a Hatanaka-compressed one ("CRINEX VERS   / TYPE"):
// "Plik "<path>" jest skompresowany (<gzip|compress|Hatanaka>). Rozpakuj go przed analizą.";
// for a version that is not a number from 1 to 4 (5 and above among them): "Plik "<path>" ma
// nieobsługiwaną wersję RINEX <v>." with the version as written; for a type other than O
// (navigation, meteorological): "Plik "<path>" nie jest plikiem obserwacji RINEX (typ <T>).".
const EpochLayout& layoutOfFile(std::string_view firstLine, const std::string& path);

}  // namespace marvolt
