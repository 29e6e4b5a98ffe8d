#pragma once
// The filters of the open dialog for each step, "Name|pattern|Name|pattern...".

namespace marvolt {

inline constexpr const char* kTimeFileFilter = "Pliki tekstowe|*.txt|Wszystkie pliki|*.*";
inline constexpr const char* kRinexFilter =
    "Pliki RINEX 2012|*.12o|Pliki RINEX 2011|*.11o|Pliki RINEX|*.*o|Pliki RINEX 3|*.rnx|"
    "Wszystkie pliki|*.*";

}  // namespace marvolt
