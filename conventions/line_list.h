#pragma once
// A text file held as lines: one buffer read in one go, the lines as spans into it.
// Lines are bytes exactly as read, without their terminators.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace marvolt {

// Which file, in which state, a file's bytes were read from: a file replaced, written or
// grown since has another identity.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;

    bool operator==(const FileIdentity& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modifiedNanoseconds == other.modifiedNanoseconds;
    }
};

// A file's bytes in one buffer of its size, which is not cleared before the file is read
// into it (a day of survey data is hundreds of megabytes).
struct FileBytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    FileIdentity identity;  // of the file as it was opened
};

// Told of every line (counted from 0) as reading finds it, while its bytes are still at hand.
using LineVisitor = std::function<void(std::size_t, std::string_view)>;

class LineList {
  public:
    std::size_t size() const { return starts_.size(); }
    bool empty() const { return size() == 0; }
    // Line i, counted from 0.
    std::string_view operator[](std::size_t i) const {
        return std::string_view(buffer_.data.get() + starts_[i], ends_[i] - starts_[i]);
    }
    // Replaces one byte of line i in place (the epoch flag).
    void setByte(std::size_t line, std::size_t position, char byte) {
        buffer_.data[starts_[line] + position] = byte;
    }
    // True when reading dropped bytes other than line ends: a CR not followed by LF, or a
    // byte 0x1A anywhere but at the very end of the file. Writing such a list back would
    // lose data.
    bool droppedBytes() const { return droppedBytes_; }
    // The file the lines were read from (all zero for lines made from bytes in memory).
    const FileIdentity& identity() const { return buffer_.identity; }

    // Builds a list from the bytes of a whole file by the line reading rules.
    static LineList fromFile(FileBytes bytes, const LineVisitor& visitLine = {});
    // The same for bytes held in a text (a copy is made).
    static LineList fromBytes(std::string_view bytes, const LineVisitor& visitLine = {});

  private:
    FileBytes buffer_;                 // the file's bytes, dropped bytes squeezed out
    std::vector<std::size_t> starts_;  // where each line's text starts in the buffer
    std::vector<std::size_t> ends_;    // and where it ends (its terminator not included)
    bool droppedBytes_ = false;
};

// Line reading: the whole file as lines. LF and CR LF end a line; a lone CR is removed;
// 0x1A at a line start ends the file, inside a line it ends that line's text; no extra
// last line. Only a regular file is read: anything else fails with
// "\"<path>\" nie jest zwykłym plikiem." before it is opened. Fails with the operating
// system's error text ("File not found", ...), or "Za mało pamięci, by wczytać plik
// \"<path>\"." when the file does not fit in memory.
LineList readLines(const std::string& path, const LineVisitor& visitLine = {});

// Line writing: every line followed by CR LF, bytes as held, through a BlockWriter (lines
// longer than its block are written from where they lie), so memory does not grow with the
// lines' lengths. The file is replaced safely: the lines go to a temporary file in
// the same folder, which is flushed, given the original's mode and owner and renamed over
// it, then the folder is flushed; on any failure the original stays as it was and the
// temporary file is removed (see TemporaryFile). A file the user may not write, or whose
// mode and owner cannot be read, is refused like one that cannot be created; a path that
// is not a regular file is refused with notRegularFile. Fails with
// "Cannot create file "<path>". <reason>" or "Stream write error".
void writeLines(const std::string& path, const LineList& lines);

// The whole file as bytes, with the same checks and error texts as line reading.
FileBytes readFileBytes(const std::string& path);

// The error text for an errno of opening or reading a file: "File not found",
// "Invalid filename", "Too many open files", "File access denied" or "I/O error N".
std::string fileErrorText(int errorNumber);

}  // namespace marvolt
