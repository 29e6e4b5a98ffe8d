#pragma once
// The line reading rules applied to a whole file held in memory, a byte at a time: the plain
// reading that LineReader (in blocks, with its vector scans) is checked against by the
// tests, the fuzz targets and the benchmark.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "file_identity.h"

namespace marvolt::oracle {

class WholeFileLines {
  public:
    std::size_t size() const { return starts_.size(); }
    bool empty() const { return size() == 0; }
    // Line i, counted from 0.
    std::string_view operator[](std::size_t i) const {
        return std::string_view(bytes_.data() + starts_[i], ends_[i] - starts_[i]);
    }
    // True when reading dropped bytes other than line ends: a CR not followed by LF, or a
    // byte 0x1A anywhere but at the very end of the file.
    bool droppedBytes() const { return droppedBytes_; }
    // The file the lines were read from (all zero for lines made from bytes in memory).
    const FileIdentity& identity() const { return identity_; }

    // The lines of `bytes` by the line reading rules.
    static WholeFileLines fromBytes(std::string_view bytes);

  private:
    friend WholeFileLines readWholeFile(const std::string& path);

    std::string bytes_;                // the bytes, dropped bytes squeezed out
    std::vector<std::size_t> starts_;  // where each line's text starts in bytes_
    std::vector<std::size_t> ends_;    // and where it ends (its terminator not included)
    bool droppedBytes_ = false;
    FileIdentity identity_;
};

// The lines of a whole file (any failure to read it is the test's: it throws
// std::runtime_error).
WholeFileLines readWholeFile(const std::string& path);

}  // namespace marvolt::oracle
