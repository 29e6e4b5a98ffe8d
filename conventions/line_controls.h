#pragma once
// The bytes that end or break a line: LF, CR, and 0x1A (the old end-of-file mark).

#include <cstddef>

namespace marvolt {

inline constexpr char kLineFeed = '\n';
inline constexpr char kCarriageReturn = '\r';
inline constexpr char kEndOfFile = '\x1A';

// The position of the next LF, CR or 0x1A at or after `from`, or `size` when there is none.
// Survey files are hundreds of megabytes: sixteen bytes are looked at in one step.
std::size_t nextLineControl(const char* data, std::size_t from, std::size_t size);

}  // namespace marvolt
