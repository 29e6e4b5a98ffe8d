#pragma once
// Epoch keys: the start of the epoch line of a moment, built from the observation date and
// a time of day, and the epoch lines of a file looked up by them.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "epoch_layout.h"
#include "line_list.h"

namespace marvolt {

// " YY MM DD " of the observation date: the first 10 characters of every version 2 key.
std::string datePiece(double observationDate);

// The key of a time of day: the date piece (of either layout), "HH MM ", then the whole
// seconds right-aligned in two characters. Milliseconds are dropped, never rounded up.
std::string epochKey(const std::string& datePiece, double time);

// EpochLayout::lineMatches of the version 2 layout: the first 18 bytes of the line are the
// key, each two-digit field zero-padded or blank-padded independently of the key.
bool lineMatches(std::string_view line, std::string_view key);

// EpochLayout::isDataEpoch of the version 2 layout, which needs no line after it: the flag
// (column 29) is blank, 0 or 1, or 2 or 3 on a line that lists satellites. Flags 4 to 6, 2
// or 3 without satellites, any other character and a line too short to carry the flag are
// no data epochs: they are never reported or changed.
bool isDataEpoch(std::string_view line);

// The data epochs of a line list, indexed in one pass by their date and time, so that
// every key is looked up without a scan of the file.
class EpochIndex {
  public:
    // The list must outlive the index; bytes after the key may change meanwhile, as long as
    // the flags of data epochs stay what they were.
    explicit EpochIndex(const LineList& lines, const EpochLayout& layout = EpochLayout::rinex2());
    // Reads a file into `lines` and indexes its epoch lines in the same pass over its bytes,
    // in the layout its first line gives. A file that is no RINEX observation file, or one
    // of a version that cannot be read, is refused (see layoutOfFile).
    static EpochIndex readFile(const std::string& path, LineList& lines);

    // The layout of the indexed lines.
    const EpochLayout& layout() const { return layout_; }
    // The data epochs (lines counted from 0, ascending) that the layout's lineMatches
    // accepts for the key.
    std::vector<std::size_t> linesMatching(std::string_view key) const;

  private:
    using Epoch = std::pair<std::uint64_t, std::size_t>;
    EpochIndex(const LineList& lines, const EpochLayout& layout, std::vector<Epoch> epochs);

    const LineList& lines_;
    EpochLayout layout_;
    // (date and time code, line) of every data epoch, sorted.
    std::vector<Epoch> epochs_;
};

}  // namespace marvolt
