#include "block_writer.h"

#include <vector>

#include "file_io.h"
#include "regular_file.h"
#include "temporary_file.h"

namespace marvolt {

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
    startWriteback(fd_, writebackFrom_, written_ - writebackFrom_);
    writebackFrom_ = written_;
}

bool copyWholeFile(int from, int to, Progress& progress) {
    const double size = static_cast<double>(sizeOf(from));
    std::uint64_t copied = 0;
    std::vector<char> buffer;  // empty while the kernel copies
    // Told before the first part and after each: false, with the copy left part-way, when the
    // user stops it.
    for (;;) {
        progress.advance(size > 0 ? static_cast<double>(copied) / size : 0.0);
        if (progress.stopRequested()) return false;
        const std::size_t part = copyPart(from, to, buffer);
        if (part == 0) return true;
        // As a rewrite does: the disk is set to work on each part at once, so that the copy
        // and the flush at the end overlap and the copied bytes never pile up in memory
        // until the system throttles the copy.
        startWriteback(to, copied, part);
        copied += part;
    }
}

}  // namespace marvolt
