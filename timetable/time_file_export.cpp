#include "time_file_export.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "date_time.h"
#include "date_time_pattern.h"
#include "failure.h"
#include "text_encoding.h"

namespace marvolt {

namespace {

// More would not fit the error box; the rest are only counted.
constexpr std::size_t kRefusalsListed = 10;

// Item split cuts a name at blanks and tabs and runs a quote on to the end of the line;
// line reading ends or drops a line at control bytes.
bool nameReadsBack(std::string_view name) {
    return !name.empty() && std::none_of(name.begin(), name.end(), [](char byte) {
        return static_cast<unsigned char>(byte) <= ' ' || byte == '"' || byte == '\'';
    });
}

// Why the import would not read the record back the same; empty when it would.
std::string refusal(const TimeRecord& record) {
    std::vector<const char*> reasons;
    if (record.punkt.empty())
        reasons.push_back("brak nazwy");
    else if (!nameReadsBack(record.punkt))
        reasons.push_back("spacja, tabulator lub cudzysłów w nazwie");
    if (!record.time(Field::Stop)) reasons.push_back("brak czasu STOP");
    if (!record.time(Field::Go)) reasons.push_back("brak czasu GO");
    std::string text;
    for (const char* reason : reasons) text += (text.empty() ? "" : "; ") + std::string(reason);
    return text;
}

void checkRecords(const TimeTable& table) {
    std::string listed;
    std::size_t refused = 0;
    for (int row = 0; row < table.rowCount(); ++row) {
        const TimeRecord& record = table.row(row);
        const std::string why = refusal(record);
        if (why.empty()) continue;
        if (++refused <= kRefusalsListed)
            listed += "\nPunkt \"" + cp1250ToUtf8(record.punkt) + "\": " + why;
    }
    if (refused == 0) return;
    if (refused > kRefusalsListed)
        listed += "\nPozostałych takich punktów: " + std::to_string(refused - kRefusalsListed);
    throw Failure(
        "Nie zapisałem tabeli czasów.\nTych punktów nie da się zapisać w pliku z czasami:" +
        listed);
}

std::string timeText(std::int32_t milliseconds, const LocaleSettings& locale) {
    std::string text = formatDateTime("HH:MM:SS", timeValue(milliseconds), locale);
    const int fraction = milliseconds % 1000;
    if (fraction != 0) text += locale.decimalSeparator + std::to_string(1000 + fraction).substr(1);
    return text;
}

std::string line(const TimeRecord& record, const LocaleSettings& locale) {
    return record.punkt + ' ' + timeText(*record.time(Field::Stop), locale) + ' ' +
           timeText(*record.time(Field::Go), locale);
}

}  // namespace

LineList timeFileLines(const TimeTable& table) {
    checkRecords(table);
    LineList lines;
    const int rows = table.rowCount();
    for (int first = 0; first < rows;) {
        int end = first + 1;
        while (end < rows && table.row(end).time(Field::Stop) == table.row(first).time(Field::Stop))
            ++end;
        for (int row = end - 1; row >= first; --row)
            lines.add(line(table.row(row), table.locale()));
        first = end;
    }
    return lines;
}

void saveTimeFile(TimeTable& table, const std::function<std::optional<std::string>()>& choosePath) {
    table.finishRecord();
    const LineList lines = timeFileLines(table);
    const std::optional<std::string> path = choosePath();
    if (!path) return;
    writeLines(*path, lines);
    table.clearTypedMarks();
}

}  // namespace marvolt
