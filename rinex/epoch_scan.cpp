#include "epoch_scan.h"

#include <optional>
#include <string>

#include "line_reader.h"
#include "rinex_version.h"

namespace marvolt {

namespace {

// How much of a line that comes in pieces is looked at: far beyond the 80 columns of the
// records of a RINEX file.
constexpr std::size_t kLineStartKept = 1024;

}  // namespace

ScanOutcome scanEpochs(const std::string& path, const ScanLineVisitor& visitLine,
                       const ScanEpochVisitor& visitEpoch, std::size_t blockSize) {
    LineReader reader(path, blockSize);
    ScanOutcome outcome;
    outcome.identity = reader.identity();
    std::optional<ScannedEpoch> waiting;  // a version 3 record flagged 2 or 3
    LinePiece piece;
    std::string split;  // a line's start that came in more than one piece
    std::uint64_t offset = 0;
    std::size_t lines = 0;
    while (reader.next(piece)) {
        if (piece.first) offset = piece.offset;
        if (piece.last) lines = piece.line + 1;
        std::string_view text = piece.text;
        if (!piece.last || !piece.first) {
            // Only the start of a line counts here: a line that comes in pieces (a lone CR,
            // a line longer than a block) is put together as far as its first kilobyte.
            if (piece.first) split.clear();
            if (split.size() < kLineStartKept)
                split.append(text.substr(0, kLineStartKept - split.size()));
            if (!piece.last) continue;
            text = split;
        }
        if (piece.line == 0) outcome.layout = &layoutOfFile(text, path);
        const EpochLayout& layout = *outcome.layout;
        if (waiting) {
            if (EpochLayout::isSatelliteLine(text)) visitEpoch(*waiting);
            waiting.reset();
        }
        if (!visitLine(piece.line, text, layout)) return outcome;
        const EpochLayout::Standing standing = layout.standing(text);
        if (standing == EpochLayout::Standing::NoDataEpoch) continue;
        const auto code = layout.epochCode(text);
        if (!code) continue;
        const ScannedEpoch epoch{piece.line, offset, *code};
        if (standing == EpochLayout::Standing::DataEpoch)
            visitEpoch(epoch);
        else
            waiting = epoch;
    }
    outcome.complete = true;
    outcome.lines = lines;
    outcome.writtenBackAsIs = reader.writtenBackAsIs();
    outcome.droppedBytes = reader.droppedBytes();
    return outcome;
}

}  // namespace marvolt
