#pragma once
// One pass over a RINEX observation file in blocks: its layout from the first line, each
// line's start, and every data epoch with its date-and-time code and where it stands. The
// analysis and the modification go through files of any size this way in little memory.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "epoch_layout.h"
#include "line_reader.h"
#include "progress.h"
#include "rinex_version.h"

namespace marvolt {

struct ScannedEpoch {
    std::size_t line = 0;      // counted from 0
    std::uint64_t offset = 0;  // of the line's first byte in the file
    std::uint64_t code = 0;    // EpochLayout::epochCode of the line
    bool marked = false;       // flagged 2 or 3: a mark written over its flag by an earlier run
};

struct ScanOutcome {
    const EpochLayout* layout = &EpochLayout::rinex2();
    bool complete = false;         // the pass went to the end of the file
    std::size_t lines = 0;         // (when complete) how many lines the file has
    bool writtenBackAsIs = false;  // (when complete) line writing would give the same bytes
    bool droppedBytes = false;     // (when complete) line reading drops bytes
    bool stopped = false;          // the user stopped the pass
    FileIdentity identity;         // the file as it was opened
};

// What a line visitor asks for after each line it is told of.
enum class NextLines {
    Every,        // every line
    EpochShaped,  // the lines that may be epoch lines (EpochLayout::mayBeEpoch), and maybe a
                  // few more; the others go by untold (they hold no data epoch either)
    None,         // none: the pass ends here
};

// Reads the file once; refuses a file its first line tells is no observation file, as
// layoutOfFile does. `visitLine(line, text, layout)` is told of each line's text (at least
// its first kilobyte, which holds whatever a RINEX record keeps in its 80 columns) and of the
// file's layout, from the first line on, and answers which lines it wants next.
// `visitEpoch(ScannedEpoch)` is told of each data epoch, in file order; a version 3 record
// flagged 2 or 3 once the line after it shows it is a data epoch. `progress` is told the
// share of the file read every kProgressStep bytes and asked then whether to stop (the pass
// then ends, `stopped`); 1 once the pass is complete. `blockSize` is for tests.
// (A template, so that the visitors of millions of lines are called directly.)
template <typename VisitLine, typename VisitEpoch>
ScanOutcome scanEpochs(const std::string& path, VisitLine&& visitLine, VisitEpoch&& visitEpoch,
                       std::size_t blockSize = LineReader::kBlockSize,
                       Progress& progress = Progress::none());

namespace scanning {
// How much of a line that comes in pieces is looked at: far beyond the 80 columns of the
// records of a RINEX file.
inline constexpr std::size_t kLineStartKept = 1024;
}  // namespace scanning

template <typename VisitLine, typename VisitEpoch>
ScanOutcome scanEpochs(const std::string& path, VisitLine&& visitLine, VisitEpoch&& visitEpoch,
                       std::size_t blockSize, Progress& progress) {
    LineReader reader(path, blockSize);
    ScanOutcome outcome;
    const double size = static_cast<double>(reader.identity().size);
    std::uint64_t nextProgress = 0;
    outcome.identity = reader.identity();
    ScannedEpoch waiting;  // a version 3 record flagged 2 or 3, when `isWaiting`
    bool isWaiting = false;
    LinePiece piece;
    std::string split;  // a line's start that came in more than one piece
    std::uint64_t offset = 0;
    LineStart epochStart = outcome.layout->epochLineStart();
    NextLines wanted = NextLines::Every;
    while (wanted == NextLines::Every || isWaiting ? reader.next(piece)
                                                   : reader.next(piece, epochStart)) {
        if (piece.first) offset = piece.offset;
        if (piece.offset >= nextProgress) {
            nextProgress = piece.offset + kProgressStep;
            progress.advance(static_cast<double>(piece.offset) / size);
            if (progress.stopRequested()) {
                outcome.stopped = true;
                return outcome;
            }
        }
        std::string_view text = piece.text;
        if (!piece.last || !piece.first) {
            // Only the start of a line counts here: a line that comes in pieces (a lone CR,
            // a line longer than a block) is put together as far as its first kilobyte.
            if (piece.first) split.clear();
            if (split.size() < scanning::kLineStartKept)
                split.append(text.substr(0, scanning::kLineStartKept - split.size()));
            if (!piece.last) continue;
            text = split;
        }
        if (piece.line == 0) {
            outcome.layout = &layoutOfFile(text, path);
            epochStart = outcome.layout->epochLineStart();
        }
        const EpochLayout& layout = *outcome.layout;
        if (isWaiting && EpochLayout::isSatelliteLine(text)) visitEpoch(waiting);
        isWaiting = false;
        wanted = visitLine(piece.line, text, layout);
        if (wanted == NextLines::None) return outcome;
        if (!layout.mayBeEpoch(text)) continue;
        const EpochLayout::Standing standing = layout.standing(text);
        if (standing == EpochLayout::Standing::NoDataEpoch) continue;
        const auto code = layout.epochCode(text);
        if (!code) continue;
        const char flag = text[layout.flagPosition()];
        const ScannedEpoch epoch{piece.line, offset, *code, flag == kStopFlag || flag == kGoFlag};
        if (standing == EpochLayout::Standing::DataEpoch) {
            visitEpoch(epoch);
        } else {
            waiting = epoch;
            isWaiting = true;
        }
    }
    outcome.complete = true;
    outcome.lines = reader.lines();
    outcome.writtenBackAsIs = reader.writtenBackAsIs();
    outcome.droppedBytes = reader.droppedBytes();
    progress.advance(1.0);
    return outcome;
}

}  // namespace marvolt
