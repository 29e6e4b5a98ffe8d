#pragma once
// Fixed-column records as RINEX headers lay them out: 60 columns of text, then a label from
// column 61 ("RINEX VERSION / TYPE", "TIME OF FIRST OBS", "COMMENT", ...).

#include <cstddef>
#include <string_view>

namespace marvolt {

inline constexpr std::size_t kLabelPosition = 60;  // a label starts in column 61

// True when the line's label, from column 61, begins with `label` (case-sensitive).
bool hasLabel(std::string_view line, std::string_view label);

}  // namespace marvolt
