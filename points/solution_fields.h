#pragma once
// The fields of a solution line: numbers read exactly as written, in the C locale.

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string_view>

namespace marvolt {

// A decimal number that is the whole text ("-12.5", "3e2"); false for anything else, and for
// infinities and NaN.
inline bool readDecimal(std::string_view text, double& value) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

// Whole number of decimal digits with an optional "-", the whole text, within [low, high].
inline bool readWhole(std::string_view text, int low, int high, int& value) {
    if (text.empty() || text.size() > 9) return false;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && value >= low && value <= high;
}

// Cuts `text` at every `separator` into `fields`, keeping empty ones; how many there are (up
// to `most`; a count above `most` means more than fit).
inline std::size_t cutAt(std::string_view text, char separator, std::string_view* fields,
                         std::size_t most) {
    std::size_t count = 0;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(separator, from);
        if (count == most) return most + 1;
        fields[count++] = text.substr(from, at == std::string_view::npos ? at : at - from);
        if (at == std::string_view::npos) return count;
        from = at + 1;
    }
}

}  // namespace marvolt
