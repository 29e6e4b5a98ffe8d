#include "numbers.h"

#include <limits>
#include <string>

#include "failure.h"

namespace marvolt {

namespace {

int digitValue(char c, int base) {
    int value = base;
    if (c >= '0' && c <= '9') value = c - '0';
    if (base == 16 && c >= 'a' && c <= 'f') value = c - 'a' + 10;
    if (base == 16 && c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

// Length of a hexadecimal prefix at the start of the digits, 0 when there is none.
std::size_t hexPrefixLength(std::string_view digits) {
    if (digits.empty()) return 0;
    if (digits[0] == '$' || digits[0] == 'x' || digits[0] == 'X') return 1;
    if (digits.size() > 1 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) return 2;
    return 0;
}

}  // namespace

// Hexadecimal digits are read as the magnitude, like decimal ones, so "$7FFFFFFF" and
// "-$80000000" are the limits; "$FFFFFFFF" is out of range rather than -1.
std::int32_t readInteger(std::string_view text) {
    const auto fail = [&]() {
        return Failure("'" + std::string(text) + "' is not a valid integer value");
    };
    std::string_view rest = text;
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    const std::size_t prefix = hexPrefixLength(rest);
    const int base = prefix > 0 ? 16 : 10;
    rest.remove_prefix(prefix);
    if (rest.empty()) throw fail();

    const std::int64_t limit =
        negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                 : std::numeric_limits<std::int32_t>::max();
    std::int64_t magnitude = 0;
    for (const char c : rest) {
        const int digit = digitValue(c, base);
        if (digit < 0) throw fail();
        magnitude = magnitude * base + digit;
        if (magnitude > limit) throw fail();
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace marvolt
