#include "observation_header.h"

#include <string>
#include <vector>

#include "date_time.h"
#include "items.h"
#include "labelled_line.h"
#include "line_reader.h"
#include "numbers.h"

namespace marvolt {

namespace {

// Item `number` counted from 1; the empty text when the line has fewer items.
std::string_view item(const std::vector<std::string>& items, std::size_t number) {
    return number <= items.size() ? std::string_view(items[number - 1]) : std::string_view();
}

// The whole seconds of a seconds item: its text before the first point (none without one).
std::string_view wholeSeconds(std::string_view seconds) {
    const std::size_t point = seconds.find('.');
    return point == std::string_view::npos ? std::string_view() : seconds.substr(0, point);
}

}  // namespace

std::vector<std::string> readHeaderLines(const std::string& path, std::size_t mostLines) {
    constexpr std::size_t kKept = 1024;  // far beyond the 80 columns of a header record
    LineReader reader(path);
    std::vector<std::string> lines;
    LinePiece piece;
    while (lines.size() < mostLines && reader.next(piece)) {
        if (piece.first) lines.emplace_back();
        std::string& line = lines.back();
        if (line.size() < kKept) line.append(piece.text.substr(0, kKept - line.size()));
        if (piece.last && hasLabel(line, kEndOfHeaderLabel)) break;
    }
    return lines;
}

bool isFirstObservationRecord(std::string_view line) {
    return hasLabel(line, kFirstObservationLabel);
}

double readObservationDate(std::string_view line) {
    const std::vector<std::string> items = splitItems(line);
    const int day = readInteger(item(items, 3));
    const int month = readInteger(item(items, 2));
    const int year = readInteger(item(items, 1));
    return encodeDate(year, month, day);
}

double readFirstObservationTime(std::string_view line) {
    const std::vector<std::string> items = splitItems(line);
    const int second = readInteger(wholeSeconds(item(items, 6)));
    const int minute = readInteger(item(items, 5));
    const int hour = readInteger(item(items, 4));
    return encodeTime(hour, minute, second, 0);
}

double readFirstObservation(std::string_view line, double& observationDate) {
    observationDate = readObservationDate(line);
    return readFirstObservationTime(line);
}

}  // namespace marvolt
