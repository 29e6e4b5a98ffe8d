#pragma once
// A text file read in blocks into one buffer that is used again and again, and cut into
// lines by the line reading rules (see readLines): a survey file of any size is gone
// through in little memory.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_descriptor.h"
#include "line_controls.h"
#include "line_list.h"

namespace marvolt {

// A stretch of one line's text. A line comes in one piece unless it holds a lone CR (which
// is left out, so the text on each side is a piece of its own) or is longer than a block.
struct LinePiece {
    std::string_view text;     // valid until the next call of next()
    std::size_t line = 0;      // counted from 0
    std::uint64_t offset = 0;  // where the piece's first byte stands in the file
    bool first = false;        // the line starts with this piece
    bool last = false;         // and ends with it
};

class LineReader {
  public:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

    // Opens a regular file for reading (the errors of line reading). `blockSize` is how
    // much is read at a time, at least 2 bytes.
    explicit LineReader(const std::string& path, std::size_t blockSize = kBlockSize);

    // The next piece of text; false at the end of the file.
    bool next(LinePiece& piece) {
        // Most lines end with CR LF, or LF, within the bytes at hand.
        if (!inLine_ && !skipping_ && begin_ < end_ && buffer_[begin_] != kEndOfFile) {
            const std::size_t at = nextMarked(controls_.data(), begin_, end_);
            const std::size_t from = begin_;
            if (at + 1 < end_ && buffer_[at] == kCarriageReturn && buffer_[at + 1] == kLineFeed) {
                begin_ = at + 2;
                return emit(piece, from, at, true);
            }
            if (at < end_ && buffer_[at] == kLineFeed) {
                asIs_ = false;  // an LF alone becomes CR LF
                begin_ = at + 1;
                return emit(piece, from, at, true);
            }
        }
        return nextOtherwise(piece);
    }

    // Once the end is reached: reading dropped bytes other than line ends (a lone CR, or a
    // 0x1A anywhere but at the very end), as LineList::droppedBytes tells.
    bool droppedBytes() const { return droppedBytes_; }
    // Once the end is reached: every line ended by CR LF and nothing dropped, so that line
    // writing would give back the file byte for byte.
    bool writtenBackAsIs() const { return asIs_; }
    // The file as it was opened.
    const FileIdentity& identity() const { return identity_; }

  private:
    // Reads more behind the bytes not yet taken, moving them to the buffer's start first;
    // false when the file has no more.
    bool refill();
    // Everything but a whole CR LF line at hand.
    bool nextOtherwise(LinePiece& piece);
    bool emit(LinePiece& piece, std::size_t from, std::size_t to, bool last) {
        piece.text = std::string_view(buffer_.data() + from, to - from);
        piece.line = line_;
        piece.offset = base_ + from;
        piece.first = !inLine_;
        piece.last = last;
        inLine_ = !last;
        if (last) ++line_;
        return true;
    }

    FileDescriptor file_;
    FileIdentity identity_;
    std::vector<char> buffer_;
    std::vector<std::uint64_t> controls_;  // where its line controls stand (see refill)
    std::size_t begin_ = 0;                // the first byte not yet taken
    std::size_t end_ = 0;                  // the end of the bytes read
    std::uint64_t base_ = 0;               // the file offset of buffer_[0]
    bool endOfFile_ = false;               // the file has no bytes beyond end_
    bool finished_ = false;
    bool inLine_ = false;    // a line has begun and not ended
    bool skipping_ = false;  // after a 0x1A inside a line: the rest of it is left out
    std::size_t line_ = 0;
    bool droppedBytes_ = false;
    bool asIs_ = true;
};

}  // namespace marvolt
