#include "block_writer.h"

#include "file_io.h"
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

}  // namespace marvolt
