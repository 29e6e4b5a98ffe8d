#include "file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "block_writer.h"
#include "failure.h"
#include "interrupted.h"
#include "regular_file.h"
#include "temporary_file.h"

namespace marvolt {

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t count = unlessInterrupted([&] { return ::write(fd, data, size); });
        if (count < 0) return false;
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

void startWriteback(int fd, std::uint64_t offset, std::uint64_t size) {
    // Only a hint: where the file system cannot, the flush at the end does it all.
    ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(size),
                      SYNC_FILE_RANGE_WRITE);
}

std::size_t copyPart(int from, int to, std::vector<char>& buffer) {
    if (buffer.empty()) {
        const ssize_t copied = unlessInterrupted([&] {
            return ::copy_file_range(from, nullptr, to, nullptr, BlockWriter::kBlockSize * 64, 0);
        });
        if (copied >= 0) return static_cast<std::size_t>(copied);
        // Not between these two files (another file system, an old kernel): by hand.
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
            throw streamWriteError();
        buffer.resize(BlockWriter::kBlockSize);
    }
    const ssize_t count =
        unlessInterrupted([&] { return ::read(from, buffer.data(), buffer.size()); });
    if (count < 0) throw Failure(fileErrorText(errno));
    if (!writeAll(to, buffer.data(), static_cast<std::size_t>(count))) throw streamWriteError();
    return static_cast<std::size_t>(count);
}

std::string readBytesAt(int fd, std::uint64_t offset, std::size_t size) {
    std::string bytes(size, '\0');
    const ssize_t got = unlessInterrupted(
        [&] { return ::pread(fd, bytes.data(), size, static_cast<off_t>(offset)); });
    if (got < 0) throw streamWriteError();
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
}

void writeByteAt(int fd, std::uint64_t offset, char byte) {
    if (unlessInterrupted([&] { return ::pwrite(fd, &byte, 1, static_cast<off_t>(offset)); }) != 1)
        throw streamWriteError();
}

}  // namespace marvolt
