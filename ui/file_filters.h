#pragma once
// The filters of the open dialog for each step, "Name|pattern|Name|pattern...".

#include <string>

namespace marvolt {

inline constexpr const char* kTimeFileFilter = "Pliki tekstowe|*.txt|Wszystkie pliki|*.*";

// The RINEX filter run in `year`: that year's and the year before's observation files
// first ("Pliki RINEX 2026|*.26o|Pliki RINEX 2025|*.25o|..."), then those of any year,
// RINEX 3 files and every file.
std::string rinexFilter(int year);

}  // namespace marvolt
