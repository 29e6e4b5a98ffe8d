// The time file's line reading (readLines, through LineReader) of any bytes: the lines of the
// whole-file reading, none holding a line end; lines that dropped nothing read back the same
// from their CR LF text, as a saved time file does.

#include "fuzz_input.h"
#include "line_list.h"
#include "whole_file_lines.h"

namespace {

bool sameLines(const marvolt::LineList& lines, const marvolt::oracle::WholeFileLines& whole) {
    if (lines.size() != whole.size()) return false;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i] != whole[i]) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    const std::string_view bytes = fuzz::textOf(data, size);
    const auto whole = oracle::WholeFileLines::fromBytes(bytes);
    const LineList lines = readLines(fuzz::writeScratchFile("lines.txt", bytes));
    fuzz::require(sameLines(lines, whole), "the lines of the whole-file reading");
    std::string written;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        fuzz::require(lines[i].find('\n') == std::string_view::npos, "no LF inside a line");
        written.append(lines[i]).append("\r\n");
    }
    if (whole.droppedBytes()) return 0;
    const LineList again = readLines(fuzz::writeScratchFile("lines.txt", written));
    fuzz::require(again.size() == lines.size(), "as many lines again");
    for (std::size_t i = 0; i < lines.size(); ++i)
        fuzz::require(again[i] == lines[i], "each line reads back as written");
    return 0;
}
