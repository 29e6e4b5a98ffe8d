#pragma once
// Epoch keys: the start of the epoch line of a moment, built from the observation date and
// a time of day.

#include <string>
#include <string_view>

#include "epoch_layout.h"

namespace marvolt {

// " YY MM DD " of the observation date: the first 10 characters of every version 2 key.
std::string datePiece(double observationDate);

// The key of a time of day: the date piece (of either layout), "HH MM ", then the whole
// seconds right-aligned in two characters. Milliseconds are dropped, never rounded up.
std::string epochKey(const std::string& datePiece, double time);

// EpochLayout::lineMatches of the version 2 layout: the first 18 bytes of the line are the
// key, each two-digit field zero-padded or blank-padded independently of the key.
bool lineMatches(std::string_view line, std::string_view key);

// EpochLayout::isDataEpoch of the version 2 layout, which needs no line after it: the flag
// (column 29) is blank, 0 or 1, or 2 or 3 on a line that lists satellites. Flags 4 to 6, 2
// or 3 without satellites, any other character and a line too short to carry the flag are
// no data epochs: they are never reported or changed.
bool isDataEpoch(std::string_view line);

}  // namespace marvolt
