#pragma once
// Epoch keys: the first 18 characters of the epoch line of a moment, built from the
// observation date and a time of day, and the epoch lines of a file looked up by them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "line_list.h"

namespace marvolt {

inline constexpr std::size_t kEpochKeyLength = 18;          // date and time to the whole second
inline constexpr std::size_t kEpochFlagPosition = 28;       // the epoch flag, column 29
inline constexpr std::size_t kSatelliteCountPosition = 29;  // columns 30 to 32
inline constexpr std::size_t kFirstSatellitePosition = 32;  // columns 33 to 35
inline constexpr char kStopFlag = '3';  // new site occupation: the antenna stopped
inline constexpr char kGoFlag = '2';    // start of antenna movement

// " YY MM DD " of the observation date: the first 10 characters of every key.
std::string datePiece(double observationDate);

// The 18-character key of a time of day: the date piece, "HH MM ", then the whole seconds
// right-aligned in two characters. Milliseconds are dropped, never rounded up.
std::string epochKey(const std::string& datePiece, double time);

// True when the first 18 bytes of the line are the key, where each of the six two-digit
// fields (year, month, day, hour, minute, second) may be zero-padded or blank-padded
// independently of the key: " 4" matches "04" and "04" matches " 4".
bool lineMatches(std::string_view line, std::string_view key);

// True when the first 18 bytes are shaped like an epoch's date and time: a digit or a blank
// then a digit in each of the six fields, blanks between them.
bool hasEpochTime(std::string_view line);

// True when the line is the epoch line of an observation epoch, not an event record: its
// flag (column 29) is blank, 0 or 1, or 2 or 3 on a line that lists satellites (a count of
// at least 1 and a satellite in columns 33 to 35), as an epoch flagged by an earlier
// modification does. Flags 4 to 6, 2 or 3 without satellites, any other character and a
// line too short to carry the flag are no data epochs: they are never reported or changed.
bool isDataEpoch(std::string_view line);

// The data epochs of a line list, indexed in one pass by their date and time, so that
// every key is looked up without a scan of the file.
class EpochIndex {
  public:
    // The list must outlive the index; bytes from the 19th on may change meanwhile.
    explicit EpochIndex(const LineList& lines);
    // Reads a file into `lines` and indexes its epoch lines in the same pass over its bytes.
    static EpochIndex readFile(const std::string& path, LineList& lines);

    // The data epochs (lines counted from 0, ascending) that lineMatches accepts for the key.
    std::vector<std::size_t> linesMatching(std::string_view key) const;

  private:
    using Epoch = std::pair<std::uint64_t, std::size_t>;
    EpochIndex(const LineList& lines, std::vector<Epoch> epochs);

    const LineList& lines_;
    // (date and time code, line) of every data epoch, sorted.
    std::vector<Epoch> epochs_;
};

}  // namespace marvolt
