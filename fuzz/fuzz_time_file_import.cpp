// The import of any time file: every line is a point or a reported bad row, and the
// summary counts both; a RINEX file is refused whole.

#include "failure.h"
#include "fuzz_input.h"
#include "time_file_import.h"
#include "time_table.h"
#include "whole_file_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    const std::string_view bytes = fuzz::textOf(data, size);
    const std::string file = fuzz::writeScratchFile("punkty.txt", bytes);
    fuzz::QuietServices services;
    TimeTable table;
    table.open();
    const auto all = oracle::WholeFileLines::fromBytes(bytes);
    try {
        importTimeFile(file, table, services);
    } catch (const Failure&) {
        fuzz::require(!all.empty() && all[0].size() > 60 &&
                          all[0].substr(60, 20) == "RINEX VERSION / TYPE" &&
                          table.recordCount() == 0 && services.messages.empty(),
                      "only a RINEX file is refused, whole");
        return 0;
    }
    const std::size_t lines = all.size();
    const std::size_t bad = services.messages.size() - 1;
    fuzz::require(static_cast<std::size_t>(table.recordCount()) + bad == lines,
                  "every line is a point or a bad row");
    fuzz::require(services.messages.back() ==
                      "Wczytałem " + std::to_string(lines - bad) +
                          " punktów. Liczba błędnych wierszy: " + std::to_string(bad) + ".",
                  "the summary counts them");
    return 0;
}
