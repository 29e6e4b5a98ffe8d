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

namespace {

// Sets back to 0 the marks of an earlier run on the data epochs that get no new event, as
// the lines go by: a version 2 epoch line flagged 2 or 3 at once, a version 3 record flagged
// 2 or 3 once the line after it shows it is a data epoch (it is held until then).
class MarkReset {
  public:
    MarkReset(const EpochLayout& layout, BlockWriter& writer) : layout_(layout), writer_(writer) {}

    // A line's first piece: first writes out the record held back, if any.
    void lineStarts(std::string_view text) {
        if (!holding_) return;
        holding_ = false;
        if (EpochLayout::isSatelliteLine(text)) held_[layout_.flagPosition()] = '0';
        writer_.write(held_);
        writer_.endLine();
    }
    // A whole line with no new event; false when it is left to the caller to write as it is.
    bool written(std::string_view text) {
        if (!layout_.mayBeEpoch(text)) return false;
        const char flag = text[layout_.flagPosition()];
        if (flag != kStopFlag && flag != kGoFlag) return false;
        switch (layout_.standing(text)) {
            case EpochLayout::Standing::DataEpoch:
                held_.assign(text);
                held_[layout_.flagPosition()] = '0';
                writer_.write(held_);
                writer_.endLine();
                return true;
            case EpochLayout::Standing::DataEpochIfSatelliteFollows:
                held_.assign(text);
                holding_ = true;
                return true;
            default:
                return false;
        }
    }
    // At the end of the file: a record held back is no data epoch.
    void end() { lineStarts({}); }

  private:
    const EpochLayout& layout_;
    BlockWriter& writer_;
    std::string held_;
    bool holding_ = false;
};

}  // namespace

RewriteTrouble rewriteWithEvents(const AnalysisResult& result, const EventsByLine& events,
                                 const std::vector<LineRange>& blocks, EventStyle style, int out,
                                 Progress& progress) {
    const EpochLayout& layout = result.layout;
    const std::size_t flag = layout.flagPosition();
    LineReader reader(result.file);
    BlockWriter writer(out);
    EpochCheck check(layout);
    MarkReset marks(layout, writer);
    auto block = blocks.begin();
    auto next = events.begin();
    std::string epoch;  // an epoch line with its flag as written
    LinePiece piece;
    const double size = static_cast<double>(reader.identity().size);
    std::uint64_t nextProgress = 0;
    while (reader.next(piece)) {
        if (piece.offset >= nextProgress) {
            nextProgress = piece.offset + kProgressStep;
            progress.advance(static_cast<double>(piece.offset) / size);
            if (progress.stopRequested()) return RewriteTrouble::Stopped;
        }
        if (piece.first) {
            check.nextLine(piece.text);
            marks.lineStarts(piece.text);
        }
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
                    // The mark of an earlier run in the flags style goes: the records say it.
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
        } else if (piece.first && piece.last && marks.written(piece.text)) {
            continue;
        } else {
            writer.write(piece.text);
        }
        if (piece.last) writer.endLine();
    }
    marks.end();
    if (reader.droppedBytes()) return RewriteTrouble::DroppedBytes;
    if (check.changed(events.size())) return RewriteTrouble::Changed;
    writer.flush();
    progress.advance(1.0);
    return RewriteTrouble::None;
}

}  // namespace marvolt
