#pragma once
// Bytes written to a file through one buffer of a block's size: a rewrite of any size in
// little memory and few system calls.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "progress.h"

namespace marvolt {

class BlockWriter {
  public:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    explicit BlockWriter(int fd) : fd_(fd), buffer_(new char[kBlockSize]) {}
    // Appends the bytes; fails with "Stream write error".
    void write(std::string_view bytes) {
        if (bytes.size() > kBlockSize - used_) {
            writeBeyond(bytes);
            return;
        }
        std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    // A line's end as line writing writes it: CR LF.
    void endLine() { write("\r\n"); }
    // Writes out what the buffer holds.
    void flush();

  private:
    // Every so many bytes written, the disk is set to work on them (no wait), so that the
    // flush to disk at the end of a rewrite of hundreds of megabytes has little left to do.
    static constexpr std::uint64_t kWritebackStep = std::uint64_t{8} << 20;

    // Writes what does not fit in the buffer any more.
    void writeBeyond(std::string_view bytes);

    // Counts the bytes written out and starts their writeback every kWritebackStep.
    void written(std::size_t count);

    int fd_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::uint64_t written_ = 0;        // bytes written out through this writer
    std::uint64_t writebackFrom_ = 0;  // the first of them whose writeback is not started
};

// Copies the whole of one open file into another from where each stands, in the kernel
// where it can (copy_file_range, which also lets file systems that can share the blocks);
// fails with "Stream write error" or the texts of line reading. `progress` is told the share
// of the file copied after each step and asked whether to stop: false when it stopped the
// copy part-way.
bool copyWholeFile(int from, int to, Progress& progress = Progress::none());

// Up to `size` bytes of a file being written, read at `offset` (fewer where it ends); fails
// with "Stream write error".
std::string readBytesAt(int fd, std::uint64_t offset, std::size_t size);
// One byte written over the byte at `offset`; fails with "Stream write error".
void writeByteAt(int fd, std::uint64_t offset, char byte);

}  // namespace marvolt
