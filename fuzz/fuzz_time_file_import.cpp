// The import of any time file: every line is a point or a reported bad row, and the
// summary counts both.

#include "failure.h"
#include "fuzz_input.h"
#include "line_list.h"
#include "time_file_import.h"
#include "time_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    const std::string_view bytes = fuzz::textOf(data, size);
    fuzz::QuietServices services(fuzz::writeScratchFile("punkty.txt", bytes));
    TimeTable table;
    table.open();
    importTimeFile(table, services);
    const std::size_t lines = LineList::fromBytes(bytes).size();
    const std::size_t bad = services.messages.size() - 1;
    fuzz::require(static_cast<std::size_t>(table.recordCount()) + bad == lines,
                  "every line is a point or a bad row");
    fuzz::require(services.messages.back() ==
                      "Wczytałem " + std::to_string(lines - bad) +
                          " punktów. Liczba błędnych wierszy: " + std::to_string(bad) + ".",
                  "the summary counts them");
    return 0;
}
