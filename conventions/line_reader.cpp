#include "line_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "failure.h"
#include "line_controls.h"
#include "regular_file.h"

namespace marvolt {

LineReader::LineReader(const std::string& path, std::size_t blockSize)
    : buffer_(std::max<std::size_t>(blockSize, 2)), controls_((buffer_.size() + 63) / 64) {
    struct stat status {};
    file_ = openRegularFile(path, status);
    identity_ = identityOf(status);
}

bool LineReader::refill() {
    if (endOfFile_) return false;
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        base_ += begin_;
        end_ -= begin_;
        begin_ = 0;
        markLineControls(buffer_.data(), end_, controls_.data());
    }
    if (end_ == buffer_.size()) return false;
    for (;;) {
        const ssize_t count = ::read(file_.get(), buffer_.data() + end_, buffer_.size() - end_);
        if (count > 0) {
            end_ += static_cast<std::size_t>(count);
            markLineControls(buffer_.data(), end_, controls_.data());
            return true;
        }
        if (count == 0) {
            endOfFile_ = true;
            return false;
        }
        if (errno != EINTR) throw Failure(fileErrorText(errno));
    }
}

bool LineReader::nextOtherwise(LinePiece& piece) {
    while (!finished_) {
        if (begin_ == end_ && !refill()) {
            finished_ = true;
            // A last line without a terminator ends with the file.
            if (!inLine_) break;
            asIs_ = false;
            return emit(piece, begin_, begin_, true);
        }
        if (skipping_) {
            // The rest of a line after a 0x1A in it is left out, up to its LF.
            droppedBytes_ = true;
            const auto* found = static_cast<const char*>(
                std::memchr(buffer_.data() + begin_, kLineFeed, end_ - begin_));
            begin_ = found ? static_cast<std::size_t>(found - buffer_.data()) + 1 : end_;
            skipping_ = found == nullptr;
            continue;
        }
        if (!inLine_ && buffer_[begin_] == kEndOfFile) {
            // A 0x1A at the start of a line ends the file; only as its very last byte is it
            // no loss.
            if (begin_ + 1 < end_ || refill()) droppedBytes_ = true;
            asIs_ = false;
            finished_ = true;
            break;
        }
        const bool roomToRead = !endOfFile_ && (begin_ > 0 || end_ < buffer_.size());
        const std::size_t at = nextMarked(controls_.data(), begin_, end_);
        const std::size_t from = begin_;
        if (at == end_ || (at + 1 == end_ && buffer_[at] == kCarriageReturn && !endOfFile_)) {
            // The line, or whether its CR is followed by an LF, goes on beyond the bytes at
            // hand: read more, or hand over what a full buffer holds of it.
            if (roomToRead) {
                refill();
                continue;
            }
            begin_ = at;
            if (at == end_ && endOfFile_) {
                finished_ = true;
                asIs_ = false;
                return emit(piece, from, at, true);
            }
            return emit(piece, from, at, false);
        }
        if (buffer_[at] == kLineFeed) {
            asIs_ = false;  // an LF alone becomes CR LF
            begin_ = at + 1;
            return emit(piece, from, at, true);
        }
        if (buffer_[at] == kCarriageReturn) {
            if (at + 1 < end_ && buffer_[at + 1] == kLineFeed) {
                begin_ = at + 2;
                return emit(piece, from, at, true);
            }
            // A lone CR is left out: the text on either side of it is the same line.
            droppedBytes_ = true;
            asIs_ = false;
            begin_ = at + 1;
            return emit(piece, from, at, false);
        }
        // A 0x1A inside a line ends its text; whatever follows it is a loss.
        asIs_ = false;
        skipping_ = true;
        begin_ = at + 1;
        return emit(piece, from, at, true);
    }
    return false;
}

}  // namespace marvolt
