#pragma once
// Where an observation epoch keeps its date and time, flag, count and satellites: the
// epoch line of RINEX 1 and 2 files, or the epoch record of RINEX 3 and 4 files.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "line_reader.h"

namespace marvolt {

inline constexpr char kStopFlag = '3';  // new site occupation: the antenna stopped
inline constexpr char kGoFlag = '2';    // start of antenna movement

// Version 2: " YY MM DD HH MM SS.SSSSSSS  F NNN" followed by the satellites on the same line.
inline constexpr std::size_t kEpochKeyLength = 18;          // date and time to the whole second
inline constexpr std::size_t kEpochFlagPosition = 28;       // the epoch flag, column 29
inline constexpr std::size_t kFirstSatellitePosition = 32;  // columns 33 to 35
inline constexpr std::size_t kEventPrefixLength = 26;       // date and time, seconds F11.7

// Version 3: "> YYYY MM DD HH MM SS.SSSSSSS  F NNN", the satellites one per line below.
inline constexpr std::size_t kRecordKeyLength = 21;         // date and time to the whole second
inline constexpr std::size_t kRecordFlagPosition = 31;      // the epoch flag, column 32
inline constexpr std::size_t kRecordPrefixLength = 29;      // date and time, seconds F11.7
inline constexpr std::size_t kSatelliteLineLetterEnd = 80;  // no letter in columns 61 to 80

// The satellite or record count, I3, stands right after the flag in both.
inline constexpr std::size_t kEpochCountLength = 3;

// The layout of the epoch lines of one file. A plain value: the analysis result carries
// the layout of the file it analysed, and the modification writes by it.
class EpochLayout {
  public:
    // Version 1 and 2 files, and files without a version line.
    static const EpochLayout& rinex2();
    // Version 3 and 4 files.
    static const EpochLayout& rinex3();

    // 2 for the version 2 epoch line, 3 for the version 3 epoch record.
    int version() const { return version_; }
    // The bytes of a key: date and time to the whole second (18 or 21).
    std::size_t keyLength() const { return keyLength_; }
    // Where the one-digit flag stands (column 29 or 32, counted from 0 here).
    std::size_t flagPosition() const { return flagPosition_; }
    // Where the three-column satellite or record count starts (column 30 or 33).
    std::size_t countPosition() const { return flagPosition_ + 1; }
    // The bytes of an epoch line up to its seconds (26 or 29): the start of an event line
    // written for the same moment.
    std::size_t eventPrefixLength() const { return eventPrefixLength_; }

    // The start of every key for the observation date: " YY MM DD " or "> YYYY MM DD ".
    std::string datePiece(double observationDate) const;

    // True when the first keyLength bytes of the line are the key, where each two-digit
    // field (month, day, hour, minute, second, and the version 2 year) may be zero-padded or
    // blank-padded independently of the key: " 4" matches "04" and "04" matches " 4".
    bool lineMatches(std::string_view line, std::string_view key) const;

    // The date and time of a line shaped like an epoch line (separating blanks, digits,
    // a blank for a leading 0 of a two-digit field) as one number; nothing for any other
    // line. Two such lines match each other exactly when their codes are equal.
    std::optional<std::uint64_t> epochCode(std::string_view line) const;
    // A quick first look, for going through millions of lines: true when the line could be
    // an epoch line at all (long enough, the record start, a blank before each field of the
    // date and time). epochCode and standing tell the rest.
    bool mayBeEpoch(std::string_view line) const {
        if (line.size() <= flagPosition_) return false;
        if (!recordStart_.empty() && line[0] != recordStart_[0]) return false;
        for (const std::size_t blank : blanks_)
            if (line[blank] != ' ') return false;
        return true;
    }

    // The part of that first look a line reader can take over, so that the lines that
    // cannot be epoch lines are passed by without being handed over.
    LineStart epochLineStart() const;

    // What an epoch line tells of itself: no data epoch, a data epoch, or a data epoch only
    // if the next line is a satellite line (a version 3 record flagged 2 or 3).
    enum class Standing { NoDataEpoch, DataEpoch, DataEpochIfSatelliteFollows };
    Standing standing(std::string_view line) const;

    // A version 3 satellite line: a system letter and a two-character number (G13, R 7),
    // and no letter in columns 61 to 80, unlike a header record such as a MARKER NAME "G12".
    static bool isSatelliteLine(std::string_view line);

    // True when the line is the epoch line of an observation epoch, not an event record.
    // Version 2: the flag (column 29) is blank, 0 or 1, or 2 or 3 on a line that lists
    // satellites (a count of at least 1 and a satellite in columns 33 to 35). Version 3: a
    // record starting with ">", at least 32 bytes, whose flag (column 32) is blank, 0 or 1,
    // or 2 or 3 when `next` (the line after it, empty at the end) is a satellite line. Both
    // accept 2 and 3 where an earlier modification wrote them over a data epoch's flag.
    bool isDataEpoch(std::string_view line, std::string_view next) const;

    bool operator==(const EpochLayout& other) const { return version_ == other.version_; }

  private:
    EpochLayout(int version, std::string_view datePattern, std::string_view recordStart,
                std::size_t yearDigits, std::size_t keyLength, std::size_t flagPosition,
                std::size_t eventPrefixLength)
        : version_(version),
          datePattern_(datePattern),
          recordStart_(recordStart),
          yearDigits_(yearDigits),
          keyLength_(keyLength),
          flagPosition_(flagPosition),
          eventPrefixLength_(eventPrefixLength) {
        for (std::size_t number = 0; number < kFieldCount; ++number)
            blanks_[number] = field(number).position - 1;
    }

    // A two-digit field, or the year, of the date and time: where it starts, how wide.
    struct Field {
        std::size_t position;
        std::size_t width;
    };
    static constexpr std::size_t kFieldCount = 6;  // year, month, day, hour, minute, second
    Field field(std::size_t number) const;
    // True for the first byte of a two-digit field, where a blank stands for a "0".
    bool isLeadingDigit(std::size_t position) const;

    int version_;
    std::string_view datePattern_;  // the date piece as a date-time pattern
    std::string_view recordStart_;  // "" or ">": what precedes the blank before the year
    std::size_t yearDigits_;        // 2 or 4
    std::size_t keyLength_;
    std::size_t flagPosition_;
    std::size_t eventPrefixLength_;
    std::array<std::size_t, kFieldCount> blanks_{};  // the blank before each field
};

}  // namespace marvolt
