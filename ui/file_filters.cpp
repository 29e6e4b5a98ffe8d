#include "file_filters.h"

#include <cstdio>

namespace marvolt {

namespace {

// "Pliki RINEX 2026|*.26o": the entry of one year's observation files.
std::string yearEntry(int year) {
    char pattern[8];
    std::snprintf(pattern, sizeof pattern, "*.%02do", year % 100);
    return "Pliki RINEX " + std::to_string(year) + "|" + pattern;
}

}  // namespace

std::string rinexFilter(int year) {
    return "Pliki RINEX|*.??o;*.??O;*.rnx;*.RNX|Pliki RINEX 2|*.*o|" + yearEntry(year) + "|" +
           yearEntry(year - 1) + "|Pliki RINEX 3|*.rnx|Wszystkie pliki|*.*";
}

}  // namespace marvolt
