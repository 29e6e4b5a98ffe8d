#pragma once
// Writing to an open file, as the block writer needs it from the operating system.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace marvolt {

// Writes all the bytes, again after an interruption; false when a write failed.
bool writeAll(int fd, const char* data, std::size_t size);

// Sets the disk to work on `size` bytes written from `offset` on, without waiting for it.
void startWriteback(int fd, std::uint64_t offset, std::uint64_t size);

// Copies the next part of `from` onto `to`, both at their positions; 0 at the end of `from`.
// The kernel copies while `buffer` is empty; where it cannot between these two files, the
// buffer is sized and the bytes go through it from then on.
std::size_t copyPart(int from, int to, std::vector<char>& buffer);

}  // namespace marvolt
