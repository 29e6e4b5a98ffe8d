#pragma once
// The filters of the open dialog for each step, "Name|pattern|Name|pattern...".

#include <string>

namespace marvolt {

inline constexpr const char* kTimeFileFilter = "Pliki tekstowe|*.txt|Wszystkie pliki|*.*";

// The RINEX filter run in `year`: every observation file first, RINEX 2 and 3 alike (so a
// folder of older surveys never looks empty), then the RINEX 2 files of any year, that
// year's and the year before's ("Pliki RINEX 2026|*.26o|Pliki RINEX 2025|*.25o"), RINEX 3
// files and every file.
std::string rinexFilter(int year);

}  // namespace marvolt
