#pragma once
// Stop-and-go events written as separate event records, the way every RINEX reader
// expects them: a new site occupation (flag 3) with the point's MARKER NAME before its STOP
// epoch, and a header-information record naming the point, then the start of antenna
// movement (flag 2, no records), before its GO epoch.

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "epoch_layout.h"

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

// Finds, line by line as a file is read, every event block the program inserted earlier,
// holding no more than the few it is still looking at. A block is an event line of flag 3
// or 4 (no data epoch) whose records, as many as its count says, hold a COMMENT beginning
// "Stop & Go: "; after a flag-4 one also the flag-2 event line of count 0 right after its
// records. Event records of the receiver never match.
class InsertedBlockFinder {
  public:
    explicit InsertedBlockFinder(const EpochLayout& layout);
    // The lines in order, counted from 0.
    void add(std::size_t line, std::string_view text) {
        // Most lines are observations, while no candidate is being looked at.
        if (!candidates_.empty() || layout_.mayBeEpoch(text)) look(line, text);
    }
    // True while it looks at the lines after an event line: it must be told of every line.
    // Otherwise only the lines that may be epoch lines matter to it.
    bool needsEveryLine() const { return !candidates_.empty(); }
    // At the end of the file of `lineCount` lines: the blocks found, in file order.
    std::vector<LineRange> finish(std::size_t lineCount);

  private:
    struct Candidate {
        std::size_t start;       // the event line
        std::size_t recordsEnd;  // the line after its records
        char flag;
        bool ours = false;       // a record is a "Stop & Go: " COMMENT
        bool movement = false;   // a flag-4 one: the flag-2 event line of count 0 follows
        bool dataEpoch = false;  // a version 3 record after all: a satellite line follows
    };
    void look(std::size_t line, std::string_view text);
    // Decides the candidates, first to last, once `seen` lines are known (all at the end).
    void resolve(std::size_t seen, bool atEnd = false);

    const EpochLayout& layout_;
    std::deque<Candidate> candidates_;
    std::vector<LineRange> blocks_;
    std::size_t skipUntil_ = 0;  // lines inside a found block start none
};

}  // namespace marvolt
