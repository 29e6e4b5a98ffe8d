#pragma once
// A short text file held as lines (a time file read for the import or made for the save):
// the lines' bytes one after the other in one buffer, without their terminators.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace marvolt {

class LineList {
  public:
    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    // Line i, counted from 0.
    std::string_view operator[](std::size_t i) const {
        const std::size_t start = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(text_.data() + start, ends_[i] - start);
    }

    // Adds a line after the last.
    void add(std::string_view line) {
        text_.append(line);
        ends_.push_back(text_.size());
    }
    // Adds more text to the last line.
    void extendLast(std::string_view more) {
        text_.append(more);
        ends_.back() = text_.size();
    }
    // Makes room for `bytes` bytes of lines, so that a file's lines take its size once.
    void reserve(std::size_t bytes) { text_.reserve(bytes); }

  private:
    std::string text_;               // every line's bytes, one line after the other
    std::vector<std::size_t> ends_;  // where each line ends in text_
};

// The whole file as lines, read by a LineReader (its line reading rules and error texts);
// "Za mało pamięci, by wczytać plik \"<path>\"." when the lines do not fit in memory.
LineList readLines(const std::string& path);

// A text file from an editor (a time file) as lines, read by its byte-order mark (see
// TextBytes::ByByteOrderMark); `unicode` when it began with one, its lines then UTF-8.
struct TextFileLines {
    LineList lines;
    bool unicode = false;
};
TextFileLines readTextLines(const std::string& path);

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

}  // namespace marvolt
