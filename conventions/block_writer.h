#pragma once
// Bytes written to a file through one buffer of a block's size: a rewrite of any size in
// little memory and few system calls.

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

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
    // Writes what does not fit in the buffer any more.
    void writeBeyond(std::string_view bytes);

    int fd_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

// Copies the whole of one open file into another from where each stands, in the kernel
// where it can (copy_file_range, which also lets file systems that can share the blocks);
// fails with "Stream write error" or the texts of line reading.
void copyWholeFile(int from, int to);

}  // namespace marvolt
