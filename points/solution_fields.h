#pragma once
// The fields of a solution line: numbers read exactly as written, in the C locale.

#include <charconv>
#include <cmath>
#include <cstddef>
#include <string_view>

namespace marvolt {

// A decimal number that is the whole text ("-12.5", "3e2"); false for anything else, and for
// infinities and NaN. The common form of a solution ("-123.4567", up to 15 digits) is read at
// once: its digits as a whole number divided by a power of ten, which rounds exactly as the
// full reading does, both being exact doubles.
inline bool readDecimal(std::string_view text, double& value) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    constexpr int kMostDigits = 15;
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p < end && *p == '-';
    p += negative;
    unsigned long long digits = 0;
    int count = 0, decimals = 0;
    bool point = false;
    for (; p < end; ++p) {
        const unsigned digit = static_cast<unsigned>(*p - '0');
        if (digit < 10) {
            digits = digits * 10 + digit;
            ++count;
            decimals += point;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (p == end && count > 0 && count <= kMostDigits) {
        value = static_cast<double>(digits) / kPowersOfTen[decimals];
        if (negative) value = -value;
        return true;
    }
    if (text.empty()) return false;
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
