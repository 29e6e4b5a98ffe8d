#pragma once
// The bytes that end or break a line: LF, CR, and 0x1A (the old end-of-file mark).

#include <cstddef>
#include <cstdint>

namespace marvolt {

inline constexpr char kLineFeed = '\n';
inline constexpr char kCarriageReturn = '\r';
inline constexpr char kEndOfFile = '\x1A';

// The position of the next LF, CR or 0x1A at or after `from`, or `size` when there is none.
// Survey files are hundreds of megabytes: sixteen bytes are looked at in one step.
std::size_t nextLineControl(const char* data, std::size_t from, std::size_t size);

// Marks where the LF, CR and 0x1A bytes of data[0, size) stand, bit i of masks[w] for byte
// 64 w + i, in one sweep over a block; masks holds (size + 63) / 64 words.
void markLineControls(const char* data, std::size_t size, std::uint64_t* masks);

// The position of the next marked byte at or after `from`, or `size` when there is none.
inline std::size_t nextMarked(const std::uint64_t* masks, std::size_t from, std::size_t size) {
    if (from >= size) return size;
    std::size_t word = from / 64;
    std::uint64_t bits = masks[word] & (~std::uint64_t{0} << (from % 64));
    const std::size_t words = (size + 63) / 64;
    while (bits == 0) {
        if (++word == words) return size;
        bits = masks[word];
    }
    return word * 64 + static_cast<std::size_t>(__builtin_ctzll(bits));
}

}  // namespace marvolt
