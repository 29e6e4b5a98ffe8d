#include "time_file_import.h"

#include <optional>
#include <string>
#include <vector>

#include "failure.h"
#include "file_path.h"
#include "items.h"
#include "labelled_line.h"
#include "line_list.h"
#include "text_encoding.h"

namespace marvolt {

namespace {

constexpr std::size_t kItemsPerPoint = 3;  // name, STOP, GO; later items are ignored

// A RINEX file begins with its "RINEX VERSION / TYPE" record, labelled from column 61.
constexpr std::string_view kRinexFirstLabel = "RINEX VERSION / TYPE";

bool isRinexFile(const LineList& lines) {
    return !lines.empty() && hasLabel(lines[0], kRinexFirstLabel);
}

// Appends the point of one line; false, with nothing of the line left in the table, when
// the line has fewer than three items or a time that cannot be read.
bool importLine(TimeTable& table, TableCursor* cursor, std::string_view line) {
    const std::vector<std::string> items = splitItems(line);
    try {
        if (cursor)
            cursor->insert();
        else
            table.insert(0);
        if (items.size() < kItemsPerPoint) {
            table.cancel();
            return false;
        }
        table.setText(Field::Punkt, items[0]);
        table.setText(Field::Stop, items[1]);
        table.setText(Field::Go, items[2]);
        table.post();
        return true;
    } catch (const Failure&) {
        table.cancel();
        return false;
    }
}

}  // namespace

void importTimeFile(const std::string& path, TimeTable& table, Services& services,
                    TableCursor* cursor) {
    BusyCursor busy(services);
    int lineCount = 0;
    int errorCount = 0;
    const TextFileLines text = readTextLines(path);
    const LineList& lines = text.lines;
    // Picked by mistake, it would give a bad row or a false point for every line.
    if (isRinexFile(lines))
        throw Failure("Plik \"" + fullPath(path) +
                      "\" jest plikiem RINEX, a nie plikiem z czasami Stop & Go.");
    MessageSeries badRows(services);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ++lineCount;
        // A Unicode file's names become Windows-1250; a name that it cannot hold is a bad row.
        const std::optional<std::string> line =
            text.unicode ? utf8ToCp1250Exactly(lines[i]) : std::string(lines[i]);
        if (!line || !importLine(table, cursor, *line)) {
            ++errorCount;
            badRows.show("Wiersz " + std::to_string(lineCount) +
                         " ma nieprawidłowy format. Pominąłem...");
        }
    }
    busy.restore();
    services.message("Wczytałem " + std::to_string(lineCount - errorCount) +
                     " punktów. Liczba błędnych wierszy: " + std::to_string(errorCount) + ".");
}

}  // namespace marvolt
