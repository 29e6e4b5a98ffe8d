#pragma once
// Stop-and-go events written as separate event records, the way every RINEX reader
// expects them: a new site occupation (flag 3) with the point's MARKER NAME before its STOP
// epoch, and a header-information record naming the point, then the start of antenna
// movement (flag 2, no records), before its GO epoch.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "epoch_layout.h"
#include "line_list.h"

namespace marvolt {

inline constexpr char kHeaderRecordsFlag = '4';
inline constexpr std::string_view kEventComment = "Stop & Go: ";

enum class Moment { Stop, Go };

// The lines to insert before the data epoch `epochLine` for one point's STOP or GO; `punkt`
// is the point's name as stored (Windows-1250 bytes). Each event line starts with the
// epoch's date and time exactly as the epoch writes them.
std::vector<std::string> eventBlock(Moment moment, std::string_view punkt,
                                    std::string_view epochLine, const EpochLayout& layout);

// Lines [first, end) of an event block that the program inserted.
struct LineRange {
    std::size_t first = 0;
    std::size_t end = 0;
};

// Every block the program inserted earlier, in file order: an event line of flag 3 or 4
// (no data epoch) whose records, as many as its count says, hold a COMMENT beginning
// "Stop & Go: "; after a flag-4 one also the flag-2 event line of count 0 right after its
// records. Event records of the receiver never match.
std::vector<LineRange> insertedEventBlocks(const LineList& lines, const EpochLayout& layout);

}  // namespace marvolt
