#pragma once
// The bytes that end or break a line: LF, CR, and 0x1A (the old end-of-file mark).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace marvolt {

inline constexpr char kLineFeed = '\n';
inline constexpr char kCarriageReturn = '\r';
inline constexpr char kEndOfFile = '\x1A';

// Writes, in order, the positions in data[0, size) where line reading has something to do:
// every LF, every 0x1A, and every CR that no LF follows (a CR as the last byte too, since
// what follows it is not known yet). The CR of a CR LF is left out: the line ends at the LF
// after it. `positions` has room for size + 4 entries; size is below 4 GiB. Returns how many
// were written. A block of a survey file is gone through 64 bytes at a step, by the widest
// vector instructions the processor has.
std::size_t findLineBreaks(const char* data, std::size_t size, std::uint32_t* positions);

// Each way of finding line breaks that this processor can run, the plainest first: they give
// the same positions (which tests check).
using LineBreakFinder = std::size_t (*)(const char*, std::size_t, std::uint32_t*);
std::vector<LineBreakFinder> lineBreakFinders();

}  // namespace marvolt
