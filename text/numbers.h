#pragma once
// Whole-number reading.

#include <cstdint>
#include <string_view>

namespace marvolt {

// Optional leading blanks, an optional sign, then decimal digits to the end of the text,
// or hexadecimal digits after "$", "x", "X", "0x" or "0X". Range of a 32-bit signed integer.
// Hexadecimal digits give the magnitude like decimal ones ("$7FFFFFFF", "-$80000000").
// Fails with "'<text>' is not a valid integer value".
std::int32_t readInteger(std::string_view text);

}  // namespace marvolt
