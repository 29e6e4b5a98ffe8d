#include "block_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "failure.h"
#include "interrupted.h"
#include "regular_file.h"
#include "temporary_file.h"

namespace marvolt {

namespace {

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t count = unlessInterrupted([&] { return ::write(fd, data, size); });
        if (count < 0) return false;
        data += count;
        size -= static_cast<std::size_t>(count);
    }
    return true;
}

}  // namespace

void BlockWriter::writeBeyond(std::string_view bytes) {
    flush();
    if (bytes.size() >= kBlockSize) {
        if (!writeAll(fd_, bytes.data(), bytes.size())) throw streamWriteError();
        written(bytes.size());
        return;
    }
    std::memcpy(buffer_.get(), bytes.data(), bytes.size());
    used_ = bytes.size();
}

void BlockWriter::flush() {
    if (!writeAll(fd_, buffer_.get(), used_)) throw streamWriteError();
    written(used_);
    used_ = 0;
}

void BlockWriter::written(std::size_t count) {
    written_ += count;
    if (written_ - writebackFrom_ < kWritebackStep) return;
    // Only a hint: where the file system cannot, the flush at the end does it all.
    ::sync_file_range(fd_, static_cast<off_t>(writebackFrom_),
                      static_cast<off_t>(written_ - writebackFrom_), SYNC_FILE_RANGE_WRITE);
    writebackFrom_ = written_;
}

bool copyWholeFile(int from, int to, Progress& progress) {
    const double size = static_cast<double>(sizeOf(from));
    std::uint64_t copiedSoFar = 0;
    // Told before the first step and after each: false, with the copy left part-way, when
    // the user stops it.
    const auto goOn = [&](ssize_t copied) {
        copiedSoFar += static_cast<std::uint64_t>(copied);
        progress.advance(size > 0 ? static_cast<double>(copiedSoFar) / size : 0.0);
        return !progress.stopRequested();
    };
    if (!goOn(0)) return false;
    bool inKernel = true;
    std::vector<char> buffer;
    for (;;) {
        if (inKernel) {
            const ssize_t copied = unlessInterrupted([&] {
                return ::copy_file_range(from, nullptr, to, nullptr, BlockWriter::kBlockSize * 64,
                                         0);
            });
            if (copied > 0) {
                if (!goOn(copied)) return false;
                continue;
            }
            if (copied == 0) return true;
            // Not between these two files (another file system, an old kernel): by hand.
            if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)
                throw streamWriteError();
            inKernel = false;
            buffer.resize(BlockWriter::kBlockSize);
        }
        const ssize_t count =
            unlessInterrupted([&] { return ::read(from, buffer.data(), buffer.size()); });
        if (count == 0) return true;
        if (count < 0) throw Failure(fileErrorText(errno));
        if (!writeAll(to, buffer.data(), static_cast<std::size_t>(count))) throw streamWriteError();
        if (!goOn(count)) return false;
    }
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
