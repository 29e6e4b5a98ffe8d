#pragma once
// Bytes written to a file through one buffer of a block's size: a rewrite of any size in
// little memory and few system calls.

#include <cstddef>
#include <string_view>
#include <vector>

namespace marvolt {

class BlockWriter {
  public:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    explicit BlockWriter(int fd) : fd_(fd) { buffer_.reserve(kBlockSize); }
    // Appends the bytes; fails with "Stream write error".
    void write(std::string_view bytes);
    // A line's end as line writing writes it: CR LF.
    void endLine() { write("\r\n"); }
    // Writes out what the buffer holds.
    void flush();

  private:
    int fd_;
    std::vector<char> buffer_;
};

// Copies the whole of one open file into another from where each stands, in the kernel
// where it can (copy_file_range, which also lets file systems that can share the blocks);
// fails with "Stream write error" or the texts of line reading.
void copyWholeFile(int from, int to);

}  // namespace marvolt
