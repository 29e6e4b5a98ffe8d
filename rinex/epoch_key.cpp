#include "epoch_key.h"

#include <algorithm>
#include <array>
#include <optional>

#include "date_time_pattern.h"

namespace marvolt {

namespace {

// The six two-character fields of an epoch line's first 18 bytes; the bytes before each
// field (0, 3, 6, 9, 12, 15) are blanks in an epoch line.
constexpr std::array<std::size_t, 6> kFieldPositions{1, 4, 7, 10, 13, 16};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A leading blank and a leading "0" of a field are the same digit.
bool sameLeadingDigit(char a, char b) {
    return a == b || (a == ' ' && b == '0') || (a == '0' && b == ' ');
}

// The twelve digits of a line shaped like an epoch line (blank separators, fields of
// a digit or blank and then a digit) as one number; nothing for any other line. Two
// such lines match each other exactly when their codes are equal.
std::optional<std::uint64_t> epochCode(std::string_view line) {
    if (line.size() < kEpochKeyLength) return std::nullopt;
    std::uint64_t code = 0;
    for (const std::size_t field : kFieldPositions) {
        const char tens = line[field];
        const char units = line[field + 1];
        if (line[field - 1] != ' ' || !isDigit(units) || !(tens == ' ' || isDigit(tens)))
            return std::nullopt;
        code = code * 100 + (tens == ' ' ? 0 : tens - '0') * 10 + (units - '0');
    }
    return code;
}

// A satellite in an epoch line: a system letter or a blank, then two digits of which the
// first may be a blank ("G05", " 5", "R12").
bool isSatellite(std::string_view field) {
    const bool system = field[0] == ' ' || (field[0] >= 'A' && field[0] <= 'Z');
    return system && (field[1] == ' ' || isDigit(field[1])) && isDigit(field[2]);
}

// The satellite count of columns 30 to 32: a right-aligned number of at least 1.
bool countsSatellites(std::string_view field) {
    int count = 0;
    bool digits = false;
    for (const char c : field) {
        if (isDigit(c)) {
            count = count * 10 + (c - '0');
            digits = true;
        } else if (c != ' ' || digits) {
            return false;
        }
    }
    return count >= 1;
}

// The code of a data epoch; nothing for any other line.
std::optional<std::uint64_t> dataEpochCode(std::string_view line) {
    return isDataEpoch(line) ? epochCode(line) : std::nullopt;
}

// Lines are added in order, so a stable sort keeps each code's lines ascending.
void sortEpochs(std::vector<std::pair<std::uint64_t, std::size_t>>& epochs) {
    std::stable_sort(epochs.begin(), epochs.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

}  // namespace

bool hasEpochTime(std::string_view line) { return epochCode(line).has_value(); }

bool isDataEpoch(std::string_view line) {
    if (line.size() <= kEpochFlagPosition) return false;
    switch (line[kEpochFlagPosition]) {
        case ' ':
        case '0':
        case '1':
            return true;
        case kGoFlag:
        case kStopFlag:
            return line.size() >= kFirstSatellitePosition + 3 &&
                   countsSatellites(line.substr(kSatelliteCountPosition, 3)) &&
                   isSatellite(line.substr(kFirstSatellitePosition, 3));
        default:
            return false;
    }
}

std::string datePiece(double observationDate) {
    return formatDateTime(" YY MM DD ", observationDate, LocaleSettings{});
}

std::string epochKey(const std::string& datePiece, double time) {
    const LocaleSettings locale;
    std::string seconds = formatDateTime("s", time, locale);
    if (seconds.size() == 1) seconds.insert(0, 1, ' ');
    return datePiece + formatDateTime("HH MM ", time, locale) + seconds;
}

bool lineMatches(std::string_view line, std::string_view key) {
    if (line.size() < kEpochKeyLength || key.size() != kEpochKeyLength) return false;
    for (std::size_t i = 0; i < kEpochKeyLength; ++i) {
        const bool leadingDigit =
            std::find(kFieldPositions.begin(), kFieldPositions.end(), i) != kFieldPositions.end();
        if (leadingDigit ? !sameLeadingDigit(line[i], key[i]) : line[i] != key[i]) return false;
    }
    return true;
}

EpochIndex::EpochIndex(const LineList& lines) : lines_(lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (const auto code = dataEpochCode(lines[i])) epochs_.emplace_back(*code, i);
    sortEpochs(epochs_);
}

EpochIndex EpochIndex::readFile(const std::string& path, LineList& lines) {
    std::vector<Epoch> epochs;
    lines = readLines(path, [&epochs](std::size_t line, std::string_view text) {
        if (const auto code = dataEpochCode(text)) epochs.emplace_back(*code, line);
    });
    sortEpochs(epochs);
    return EpochIndex(lines, std::move(epochs));
}

EpochIndex::EpochIndex(const LineList& lines, std::vector<Epoch> epochs)
    : lines_(lines), epochs_(std::move(epochs)) {}

std::vector<std::size_t> EpochIndex::linesMatching(std::string_view key) const {
    std::vector<std::size_t> result;
    const auto code = key.size() == kEpochKeyLength ? epochCode(key) : std::nullopt;
    if (!code) {
        // A key not shaped like an epoch line can only match lines outside the index.
        for (std::size_t i = 0; i < lines_.size(); ++i)
            if (lineMatches(lines_[i], key) && isDataEpoch(lines_[i])) result.push_back(i);
        return result;
    }
    const auto range =
        std::equal_range(epochs_.begin(), epochs_.end(), std::make_pair(*code, std::size_t{0}),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto it = range.first; it != range.second; ++it) result.push_back(it->second);
    return result;
}

}  // namespace marvolt
