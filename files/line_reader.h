#pragma once
// A text file read in blocks (by a thread of its own, a few blocks ahead: see ReadAhead) and
// cut into lines: a survey file of any size is gone through in little memory, at about the
// speed its bytes are read. Every file of the program is read through it.
//
// The line reading rules: LF and CR LF end a line; a lone CR is removed; 0x1A at a line
// start ends the file, inside a line it ends that line's text (the rest of it is left out);
// no extra last line. Bytes are kept as they are. Only a regular file is read: anything else
// fails with "\"<path>\" nie jest zwykłym plikiem." before it is opened; otherwise it fails
// with the operating system's error text ("File not found", ...: see fileErrorText).
//
// A text file from an editor may be read by its byte-order mark (TextBytes::ByByteOrderMark):
// one that begins with a UTF-16 mark (little or big endian) is read as UTF-16 text and its
// lines handed over as UTF-8; a UTF-8 mark is left out; any other file is read as ever.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "file_descriptor.h"
#include "file_identity.h"
#include "line_controls.h"
#include "read_ahead.h"
#include "utf16_text.h"

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

// What the first bytes of a line must hold, and how long it must at least be, for a reader to
// hand it over when asked to pass the others by: a quick first look at millions of lines (a
// line handed over may still be of no interest).
class LineStart {
  public:
    static constexpr std::size_t kBytes = 16;  // how far into the line the bytes may stand

    explicit LineStart(std::size_t minLength) : minLength_(minLength) {}
    // Requires `byte` at `position` (below kBytes).
    void require(std::size_t position, char byte);
    // `line` is followed by at least kBytes bytes that may be read, whatever its length.
    bool matches(const char* line, std::size_t length) const {
        std::uint64_t words[2];
        std::memcpy(words, line, sizeof words);
        return (length >= minLength_) & ((words[0] & mask_[0]) == bytes_[0]) &
               ((words[1] & mask_[1]) == bytes_[1]);
    }

  private:
    std::size_t minLength_;
    std::uint64_t mask_[2] = {0, 0};   // the bits of the first kBytes bytes that count
    std::uint64_t bytes_[2] = {0, 0};  // and what they must be
};

// How the bytes of a file are taken.
enum class TextBytes {
    AsTheyAre,        // survey files: every byte as it is
    ByByteOrderMark,  // text files from editors: see above
};

// The byte-order mark a file read ByByteOrderMark began with.
enum class ByteOrderMark { None, Utf8, Utf16LittleEndian, Utf16BigEndian };

class LineReader {
  public:
    static constexpr std::size_t kBlockSize = std::size_t{1} << 18;
    static constexpr std::size_t kMaxBlockSize = std::size_t{1} << 30;

    // Opens a regular file for reading (the errors of line reading). `blockSize` is how
    // much is read at a time, from 2 bytes (4 ByByteOrderMark) to kMaxBlockSize.
    explicit LineReader(const std::string& path, std::size_t blockSize = kBlockSize,
                        TextBytes textBytes = TextBytes::AsTheyAre);
    ~LineReader();

    // The next piece of text; false at the end of the file.
    bool next(LinePiece& piece) {
        std::size_t from = 0, to = 0;
        if (takeWholeLine(from, to)) return handOver(piece, from, to, true);
        return nextOtherwise(piece);
    }
    // The same, passing by the whole lines at hand that lack `start`: they are counted as
    // lines but not handed over. Lines that come in pieces come as ever.
    bool next(LinePiece& piece, const LineStart& start);
    // The lines ended so far: once the end is reached, how many the file has.
    std::size_t lines() const { return line_; }

    // Once the end is reached: reading dropped bytes other than line ends (a lone CR, or a
    // 0x1A anywhere but at the very end): writing the lines back would lose data.
    bool droppedBytes() const { return droppedBytes_; }
    // Once the end is reached: every line ended by CR LF and nothing dropped, so that line
    // writing would give back the file byte for byte.
    bool writtenBackAsIs() const { return asIs_; }
    // The file as it was opened.
    const FileIdentity& identity() const { return identity_; }
    // Once a piece was read: the mark the file began with (None unless ByByteOrderMark).
    ByteOrderMark byteOrderMark() const { return mark_; }

  private:
    // Takes the next block, with the bytes not yet taken kept before it, and finds the
    // breaks of what it then holds; false when the file has no more.
    bool refill();
    // The first block: its byte-order mark looked at, when asked to.
    void takeByteOrderMark(const ReadAhead::Block& block);
    // For a UTF-16 file: the next block turned into UTF-8 behind the kept bytes.
    ReadAhead::Block nextDecodedBlock(std::size_t kept);
    // Where the first break at or after begin_ stands; end_ when none does.
    std::size_t nextBreakAt() {
        while (nextBreak_ < breakCount_ && breaks_[nextBreak_] < begin_) ++nextBreak_;
        return nextBreak_ < breakCount_ ? breaks_[nextBreak_] : end_;
    }
    // Takes the next line when it is whole in the bytes at hand, ended by CR LF or LF (as
    // most are), giving where its text starts and ends.
    bool takeWholeLine(std::size_t& from, std::size_t& to) {
        if (inLine_ || skipping_) return false;
        const std::size_t at = nextBreakAt();
        if (at == end_ || data_[at] != kLineFeed) return false;
        from = begin_;
        const bool carriageReturn = at > from && data_[at - 1] == kCarriageReturn;
        to = carriageReturn ? at - 1 : at;
        asIs_ = asIs_ && carriageReturn;  // an LF alone becomes CR LF
        ++nextBreak_;
        begin_ = at + 1;
        return true;
    }
    // Everything but a whole line at hand.
    bool nextOtherwise(LinePiece& piece);
    bool handOver(LinePiece& piece, std::size_t from, std::size_t to, bool last) {
        piece.text = std::string_view(data_ + from, to - from);
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
    std::size_t blockSize_;
    std::unique_ptr<ReadAhead> blocks_;
    TextBytes textBytes_;
    ByteOrderMark mark_ = ByteOrderMark::None;
    std::unique_ptr<Utf16Text> utf16_;         // a UTF-16 file's decoding
    std::unique_ptr<char[]> decoded_;          // and the UTF-8 it gives
    char* data_ = nullptr;                     // the bytes at hand, LineStart::kBytes zeros after
    std::unique_ptr<std::uint32_t[]> breaks_;  // where their line breaks stand (findLineBreaks)
    std::size_t breakCount_ = 0;
    std::size_t nextBreak_ = 0;  // the first of them not yet dealt with
    std::size_t begin_ = 0;      // the first byte not yet taken
    std::size_t end_ = 0;        // the end of the bytes read
    std::uint64_t base_ = 0;     // the file offset of data_[0]
    bool endOfFile_ = false;     // the file has no bytes beyond end_
    bool finished_ = false;
    bool inLine_ = false;    // a line has begun and not ended
    bool skipping_ = false;  // after a 0x1A inside a line: the rest of it is left out
    std::size_t line_ = 0;
    bool droppedBytes_ = false;
    bool asIs_ = true;
};

}  // namespace marvolt
