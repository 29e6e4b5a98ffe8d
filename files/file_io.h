#pragma once
// Writing to an open file, as the block writer needs it from the operating system.

#include <cstddef>
#include <cstdint>

namespace marvolt {

// Writes all the bytes, again after an interruption; false when a write failed.
bool writeAll(int fd, const char* data, std::size_t size);

// Sets the disk to work on `size` bytes written from `offset` on, without waiting for it.
void startWriteback(int fd, std::uint64_t offset, std::uint64_t size);

}  // namespace marvolt
