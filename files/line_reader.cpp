#include "line_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "failure.h"
#include "line_controls.h"
#include "regular_file.h"

namespace marvolt {

LineReader::LineReader(const std::string& path, std::size_t blockSize, TextBytes textBytes)
    // A first block holds a byte-order mark whole.
    : blockSize_(std::clamp<std::size_t>(blockSize, textBytes == TextBytes::AsTheyAre ? 2 : 4,
                                         kMaxBlockSize)),
      textBytes_(textBytes),
      breaks_(new std::uint32_t[2 * blockSize_ + 4]) {
    file_ = openRegularFile(path, identity_);
    // A file of more than one block is read ahead while the block before is gone through.
    blocks_ = std::make_unique<ReadAhead>(file_.get(), blockSize_, LineStart::kBytes,
                                          identity_.size > blockSize_);
}

LineReader::~LineReader() = default;

void LineStart::require(std::size_t position, char byte) {
    unsigned char mask[kBytes];
    unsigned char bytes[kBytes];
    std::memcpy(mask, mask_, kBytes);
    std::memcpy(bytes, bytes_, kBytes);
    mask[position] = 0xFF;
    bytes[position] = static_cast<unsigned char>(byte);
    std::memcpy(mask_, mask, kBytes);
    std::memcpy(bytes_, bytes, kBytes);
}

bool LineReader::refill() {
    if (endOfFile_) return false;
    const std::size_t kept = end_ - begin_;
    const bool first = data_ == nullptr;
    const ReadAhead::Block block =
        utf16_ ? nextDecodedBlock(kept) : blocks_->next(data_ + begin_, kept);
    base_ += begin_;
    data_ = block.data;
    begin_ = 0;
    end_ = block.size;
    endOfFile_ = block.last;
    std::memset(data_ + end_, 0, LineStart::kBytes);
    if (first && textBytes_ == TextBytes::ByByteOrderMark) takeByteOrderMark(block);
    breakCount_ = findLineBreaks(data_, end_, breaks_.get());
    nextBreak_ = 0;
    return end_ > kept;
}

void LineReader::takeByteOrderMark(const ReadAhead::Block& block) {
    const auto starts = [&](std::string_view mark) {
        return block.size >= mark.size() && std::memcmp(block.data, mark.data(), mark.size()) == 0;
    };
    if (starts("\xEF\xBB\xBF")) {
        mark_ = ByteOrderMark::Utf8;
        begin_ = 3;
        return;
    }
    const bool little = starts("\xFF\xFE");
    if (!little && !starts("\xFE\xFF")) return;
    mark_ = little ? ByteOrderMark::Utf16LittleEndian : ByteOrderMark::Utf16BigEndian;
    // From here on the bytes at hand are UTF-8: a kept line is at most a block long, and a
    // block of UTF-16 gives at most half as much again.
    const std::size_t room = blockSize_ + Utf16Text::maxDecodedSize(blockSize_);
    decoded_.reset(new char[room + LineStart::kBytes]);
    breaks_.reset(new std::uint32_t[room + 4]);
    utf16_ = std::make_unique<Utf16Text>(!little);
    ReadAhead::Block text{
        decoded_.get(), utf16_->decode(block.data + 2, block.size - 2, block.last, decoded_.get()),
        block.last};
    if (text.size == 0 && !text.last) text = nextDecodedBlock(0);
    data_ = text.data;
    end_ = text.size;
    endOfFile_ = text.last;
    std::memset(data_ + end_, 0, LineStart::kBytes);
}

ReadAhead::Block LineReader::nextDecodedBlock(std::size_t kept) {
    std::memmove(decoded_.get(), data_ + begin_, kept);
    // A block may give nothing yet (a unit or a surrogate pair cut by its end).
    for (;;) {
        const ReadAhead::Block raw = blocks_->next(decoded_.get(), 0);
        const std::size_t size =
            utf16_->decode(raw.data, raw.size, raw.last, decoded_.get() + kept);
        if (size > 0 || raw.last) return {decoded_.get(), kept + size, raw.last};
    }
}

bool LineReader::next(LinePiece& piece, const LineStart& start) {
    if (!inLine_ && !skipping_) {
        // The loop of millions of lines: what it changes is kept in locals until it ends.
        nextBreakAt();
        const char* const data = data_;
        const std::uint32_t* const breaks = breaks_.get();
        std::size_t from = begin_;
        std::size_t lines = line_;
        bool asIs = asIs_;
        std::size_t k = nextBreak_;
        for (; k < breakCount_; ++k) {
            const std::size_t at = breaks[k];
            if (data[at] != kLineFeed) break;
            const bool carriageReturn = at > from && data[at - 1] == kCarriageReturn;
            const std::size_t to = at - (carriageReturn ? 1 : 0);
            asIs = asIs && carriageReturn;  // an LF alone becomes CR LF
            if (start.matches(data + from, to - from)) {
                nextBreak_ = k + 1;
                begin_ = at + 1;
                line_ = lines;
                asIs_ = asIs;
                return handOver(piece, from, to, true);
            }
            ++lines;
            from = at + 1;
        }
        nextBreak_ = k;
        begin_ = from;
        line_ = lines;
        asIs_ = asIs;
    }
    return nextOtherwise(piece);
}

bool LineReader::nextOtherwise(LinePiece& piece) {
    while (!finished_) {
        if (begin_ == end_ && !refill()) {
            finished_ = true;
            // A last line without a terminator ends with the file.
            if (!inLine_) break;
            asIs_ = false;
            return handOver(piece, begin_, begin_, true);
        }
        if (skipping_) {
            // The rest of a line after a 0x1A in it is left out, up to its LF.
            droppedBytes_ = true;
            const auto* found =
                static_cast<const char*>(std::memchr(data_ + begin_, kLineFeed, end_ - begin_));
            begin_ = found ? static_cast<std::size_t>(found - data_) + 1 : end_;
            skipping_ = found == nullptr;
            continue;
        }
        if (!inLine_ && data_[begin_] == kEndOfFile) {
            // A 0x1A at the start of a line ends the file; only as its very last byte is it
            // no loss.
            if (begin_ + 1 < end_ || refill()) droppedBytes_ = true;
            asIs_ = false;
            finished_ = true;
            break;
        }
        const bool roomToRead = !endOfFile_ && end_ - begin_ <= blockSize_;
        const std::size_t at = nextBreakAt();
        const std::size_t from = begin_;
        if (at == end_ || (at + 1 == end_ && data_[at] == kCarriageReturn && !endOfFile_)) {
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
                return handOver(piece, from, at, true);
            }
            return handOver(piece, from, at, false);
        }
        if (data_[at] == kLineFeed) {
            begin_ = at + 1;
            if (at > from && data_[at - 1] == kCarriageReturn)
                return handOver(piece, from, at - 1, true);
            asIs_ = false;  // an LF alone becomes CR LF
            return handOver(piece, from, at, true);
        }
        if (data_[at] == kCarriageReturn) {
            // A lone CR is left out: the text on either side of it is the same line.
            droppedBytes_ = true;
            asIs_ = false;
            begin_ = at + 1;
            return handOver(piece, from, at, false);
        }
        // A 0x1A inside a line ends its text; whatever follows it is a loss.
        asIs_ = false;
        skipping_ = true;
        begin_ = at + 1;
        return handOver(piece, from, at, true);
    }
    return false;
}

}  // namespace marvolt
