// The import of any time file: every line is a point or a reported bad row, and the
// summary counts both; a RINEX file is refused whole. The lines are those of the text the
// file holds: after a byte-order mark, its UTF-16 decoded here whole, or its UTF-8 without
// the mark.

#include <string>
#include <vector>

#include "failure.h"
#include "fuzz_input.h"
#include "time_file_import.h"
#include "time_table.h"
#include "whole_file_lines.h"

namespace {

void putUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The text of the whole file: UTF-16 after its mark turned into UTF-8 (a surrogate without
// its partner, or an odd last byte, as U+FFFD), a UTF-8 mark dropped, else the bytes.
std::string textOfFile(std::string_view bytes) {
    const auto starts = [&](std::string_view mark) { return bytes.substr(0, mark.size()) == mark; };
    if (starts("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
    const bool big = starts("\xFE\xFF");
    if (!big && !starts("\xFF\xFE")) return std::string(bytes);
    std::vector<char32_t> units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(big ? (first << 8 | second) : (second << 8 | first));
    }
    std::string text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            putUtf8(0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00), text);
        } else {
            putUtf8(unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit, text);
        }
    }
    if (bytes.size() % 2 == 1) putUtf8(0xFFFD, text);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace marvolt;
    const std::string_view bytes = fuzz::textOf(data, size);
    const std::string file = fuzz::writeScratchFile("punkty.txt", bytes);
    fuzz::QuietServices services;
    TimeTable table;
    table.open();
    const std::string text = textOfFile(bytes);
    const auto all = oracle::WholeFileLines::fromBytes(text);
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
