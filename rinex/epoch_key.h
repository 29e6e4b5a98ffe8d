#pragma once
// Epoch keys: the start of the epoch line of a moment, built from the observation date and
// a time of day.

#include <string>
#include <string_view>

#include "epoch_layout.h"

namespace marvolt {

// The key of a time of day: the date piece (of either layout), "HH MM ", then the whole
// seconds right-aligned in two characters. Milliseconds are dropped, never rounded up.
std::string epochKey(const std::string& datePiece, double time);

}  // namespace marvolt
