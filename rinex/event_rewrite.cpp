#include "event_rewrite.h"

#include <optional>

#include "block_writer.h"
#include "line_reader.h"

namespace marvolt {

namespace {

// Checks, line by line, that the epoch lines of the result are still what the analysis
// found: the data epochs of their keys.
class EpochCheck {
  public:
    explicit EpochCheck(const EpochLayout& layout) : layout_(layout) {}

    void epochLine(std::string_view text, const std::vector<EpochEvent>& events, bool whole) {
        bool good = whole;
        for (const EpochEvent& event : events) {
            const std::string& key =
                event.moment == Moment::Stop ? event.point->stopKey : event.point->goKey;
            good = good && layout_.lineMatches(text, key);
        }
        switch (layout_.standing(text)) {
            case EpochLayout::Standing::DataEpoch:
                break;
            case EpochLayout::Standing::DataEpochIfSatelliteFollows:
                satelliteLineDue_ = true;
                break;
            default:
                good = false;
        }
        changed_ = changed_ || !good;
        ++seen_;
    }
    void nextLine(std::string_view text) {
        if (satelliteLineDue_) changed_ = changed_ || !EpochLayout::isSatelliteLine(text);
        satelliteLineDue_ = false;
    }
    // At the end of the file: every epoch line was there, and each the data epoch it was.
    bool changed(std::size_t epochLines) const {
        return changed_ || satelliteLineDue_ || seen_ != epochLines;
    }

  private:
    const EpochLayout& layout_;
    bool changed_ = false;
    bool satelliteLineDue_ = false;
    std::size_t seen_ = 0;
};

}  // namespace

EventsByLine eventsByLine(const AnalysisResult& result) {
    EventsByLine events;
    for (const PointEpochs& point : result.points) {
        for (const std::size_t line : point.stopLines)
            events[line].push_back({Moment::Stop, &point});
        for (const std::size_t line : point.goLines) events[line].push_back({Moment::Go, &point});
    }
    return events;
}

char flagOf(const std::vector<EpochEvent>& events) {
    return events.back().moment == Moment::Stop ? kStopFlag : kGoFlag;
}

RewriteTrouble rewriteWithEvents(const AnalysisResult& result, const EventsByLine& events,
                                 const std::vector<LineRange>& blocks, EventStyle style, int out) {
    const EpochLayout& layout = result.layout;
    const std::size_t flag = layout.flagPosition();
    LineReader reader(result.file);
    BlockWriter writer(out);
    EpochCheck check(layout);
    auto block = blocks.begin();
    auto next = events.begin();
    std::string epoch;  // an epoch line with its flag as written
    LinePiece piece;
    while (reader.next(piece)) {
        if (piece.first) check.nextLine(piece.text);
        while (block != blocks.end() && piece.line >= block->end) ++block;
        if (block != blocks.end() && piece.line >= block->first) continue;
        if (piece.first && next != events.end() && next->first == piece.line) {
            const std::vector<EpochEvent>& atLine = next->second;
            ++next;
            check.epochLine(piece.text, atLine, piece.last);
            epoch.assign(piece.text);
            if (epoch.size() > flag) {
                if (style == EventStyle::Flags) {
                    epoch[flag] = flagOf(atLine);
                } else {
                    // An epoch flagged by the flags style gets 0 back: it is never marked twice.
                    if (epoch[flag] == kStopFlag || epoch[flag] == kGoFlag) epoch[flag] = '0';
                    for (const EpochEvent& event : atLine)
                        for (const std::string& record :
                             eventBlock(event.moment, event.point->punkt, epoch, layout)) {
                            writer.write(record);
                            writer.endLine();
                        }
                }
            }
            writer.write(epoch);
        } else {
            writer.write(piece.text);
        }
        if (piece.last) writer.endLine();
    }
    if (reader.droppedBytes()) return RewriteTrouble::DroppedBytes;
    if (check.changed(events.size())) return RewriteTrouble::Changed;
    writer.flush();
    return RewriteTrouble::None;
}

std::vector<LineRange> findInsertedBlocks(const std::string& file, const EpochLayout& layout) {
    LineReader reader(file);
    InsertedBlockFinder finder(layout);
    LinePiece piece;
    std::size_t lines = 0;
    while (reader.next(piece)) {
        if (piece.first) finder.add(piece.line, piece.text);
        if (piece.last) lines = piece.line + 1;
    }
    return finder.finish(lines);
}

}  // namespace marvolt
