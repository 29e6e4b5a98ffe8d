#include "epoch_layout.h"

#include "date_time_pattern.h"
#include "labelled_line.h"
#include "observation_header.h"

namespace marvolt {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool isLetter(char c) { return isUpperLetter(c) || (c >= 'a' && c <= 'z'); }

// A leading blank and a leading "0" of a field are the same digit.
bool sameLeadingDigit(char a, char b) {
    return a == b || (a == ' ' && b == '0') || (a == '0' && b == ' ');
}

// A satellite in a version 2 epoch line: a system letter or a blank, then two digits of
// which the first may be a blank ("G05", " 5", "R12").
bool isSatellite(std::string_view field) {
    const bool system = field[0] == ' ' || isUpperLetter(field[0]);
    return system && (field[1] == ' ' || isDigit(field[1])) && isDigit(field[2]);
}

// A satellite count: a right-aligned number of at least 1.
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

}  // namespace

const EpochLayout& EpochLayout::rinex2() {
    static const EpochLayout layout(2, " YY MM DD ", "", 2, kEpochKeyLength, kEpochFlagPosition,
                                    kEventPrefixLength);
    return layout;
}

const EpochLayout& EpochLayout::rinex3() {
    static const EpochLayout layout(3, "> YYYY MM DD ", ">", 4, kRecordKeyLength,
                                    kRecordFlagPosition, kRecordPrefixLength);
    return layout;
}

EpochLayout::Field EpochLayout::field(std::size_t number) const {
    // Each field follows a blank: the year after the record start, then five of two digits.
    const std::size_t year = recordStart_.size() + 1;
    if (number == 0) return {year, yearDigits_};
    return {year + yearDigits_ + 1 + (number - 1) * 3, 2};
}

std::string EpochLayout::datePiece(double observationDate) const {
    return formatDateTime(datePattern_, observationDate, LocaleSettings{});
}

bool EpochLayout::isLeadingDigit(std::size_t position) const {
    for (std::size_t number = 0; number < kFieldCount; ++number)
        if (field(number).width == 2 && field(number).position == position) return true;
    return false;
}

LineStart EpochLayout::epochLineStart() const {
    LineStart start(flagPosition_ + 1);
    if (!recordStart_.empty()) start.require(0, recordStart_[0]);
    for (const std::size_t blank : blanks_)
        if (blank < LineStart::kBytes) start.require(blank, ' ');
    return start;
}

bool EpochLayout::lineMatches(std::string_view line, std::string_view key) const {
    if (line.size() < keyLength_ || key.size() != keyLength_) return false;
    for (std::size_t i = 0; i < keyLength_; ++i)
        if (isLeadingDigit(i) ? !sameLeadingDigit(line[i], key[i]) : line[i] != key[i])
            return false;
    return true;
}

std::optional<std::uint64_t> EpochLayout::epochCode(std::string_view line) const {
    if (line.size() < keyLength_ || line.substr(0, recordStart_.size()) != recordStart_)
        return std::nullopt;
    std::uint64_t code = 0;
    for (std::size_t number = 0; number < kFieldCount; ++number) {
        const Field f = field(number);
        if (line[f.position - 1] != ' ') return std::nullopt;
        for (std::size_t i = f.position; i < f.position + f.width; ++i) {
            const bool leadingBlank = f.width == 2 && i == f.position && line[i] == ' ';
            if (!leadingBlank && !isDigit(line[i])) return std::nullopt;
            code = code * 10 + (leadingBlank ? 0 : line[i] - '0');
        }
    }
    return code;
}

EpochLayout::Standing EpochLayout::standing(std::string_view line) const {
    if (line.size() <= flagPosition_ || line.substr(0, recordStart_.size()) != recordStart_)
        return Standing::NoDataEpoch;
    switch (line[flagPosition_]) {
        case ' ':
        case '0':
        case '1':
            return Standing::DataEpoch;
        case kGoFlag:
        case kStopFlag:
            if (version_ != 2) return Standing::DataEpochIfSatelliteFollows;
            return line.size() >= kFirstSatellitePosition + 3 &&
                           countsSatellites(line.substr(countPosition(), kEpochCountLength)) &&
                           isSatellite(line.substr(kFirstSatellitePosition, 3))
                       ? Standing::DataEpoch
                       : Standing::NoDataEpoch;
        default:
            return Standing::NoDataEpoch;
    }
}

bool EpochLayout::isSatelliteLine(std::string_view line) {
    if (line.size() < 3 || !isUpperLetter(line[0]) || !(line[1] == ' ' || isDigit(line[1])) ||
        !isDigit(line[2]))
        return false;
    for (std::size_t i = kLabelPosition; i < line.size() && i < kSatelliteLineLetterEnd; ++i)
        if (isLetter(line[i])) return false;
    return true;
}

bool EpochLayout::isDataEpoch(std::string_view line, std::string_view next) const {
    const Standing s = standing(line);
    return s == Standing::DataEpoch ||
           (s == Standing::DataEpochIfSatelliteFollows && isSatelliteLine(next));
}

}  // namespace marvolt
