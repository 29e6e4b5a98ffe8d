// The line reading rules on any bytes: no line holds a line end, and a list that dropped
// nothing reads back the same after line writing's CR LF.

#include "fuzz_input.h"
#include "whole_file_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    using oracle::WholeFileLines;
    const WholeFileLines lines = WholeFileLines::fromBytes(fuzz::textOf(data, size));
    std::string written;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        fuzz::require(lines[i].find('\n') == std::string_view::npos, "no LF inside a line");
        written.append(lines[i]).append("\r\n");
    }
    if (lines.droppedBytes()) return 0;
    const WholeFileLines again = WholeFileLines::fromBytes(written);
    fuzz::require(again.size() == lines.size() && !again.droppedBytes(), "same lines again");
    for (std::size_t i = 0; i < lines.size(); ++i)
        fuzz::require(again[i] == lines[i], "each line reads back as written");
    return 0;
}
