#include "event_records.h"

#include "labelled_line.h"
#include "observation_header.h"

namespace marvolt {

namespace {

constexpr std::string_view kMarkerNameLabel = "MARKER NAME";
constexpr std::string_view kCommentLabel = "COMMENT";

std::string headerRecord(std::string text, std::string_view label) {
    text.resize(kLabelPosition, ' ');
    return text.append(label);
}

// An event line: the epoch's date and time, the flag and the count of records after it.
std::string eventLine(std::string_view epochLine, const EpochLayout& layout, char flag,
                      int records) {
    std::string line(epochLine.substr(0, layout.eventPrefixLength()));
    line += "  ";
    line += flag;
    line += "  ";
    line += static_cast<char>('0' + records);
    return line;
}

bool isComment(std::string_view line) { return hasLabel(line, kCommentLabel); }

// The record count of an event line of this flag (no data epoch by itself, nothing after
// its count); -1 for any other line. (A version 3 one is still a data epoch when a
// satellite line follows it: the finder sees to that.)
int eventRecords(std::string_view line, const EpochLayout& layout, char flag) {
    const std::size_t countEnd = layout.countPosition() + kEpochCountLength;
    if (line.size() < countEnd || line[layout.flagPosition()] != flag || !layout.epochCode(line) ||
        layout.standing(line) == EpochLayout::Standing::DataEpoch)
        return -1;
    int count = 0;
    for (const char c : line.substr(layout.countPosition(), kEpochCountLength)) {
        if (c >= '0' && c <= '9')
            count = count * 10 + (c - '0');
        else if (c != ' ')
            return -1;
    }
    return line.substr(countEnd).find_first_not_of(' ') == std::string_view::npos ? count : -1;
}

bool isOurComment(std::string_view line) {
    return isComment(line) && line.substr(0, kEventComment.size()) == kEventComment;
}

}  // namespace

std::vector<std::string> eventBlock(Moment moment, std::string_view punkt,
                                    std::string_view epochLine, const EpochLayout& layout) {
    const std::string name(punkt);
    if (moment == Moment::Stop)
        return {eventLine(epochLine, layout, kStopFlag, 2), headerRecord(name, kMarkerNameLabel),
                headerRecord(std::string(kEventComment) + "STOP " + name, kCommentLabel)};
    return {eventLine(epochLine, layout, kHeaderRecordsFlag, 1),
            headerRecord(std::string(kEventComment) + "GO " + name, kCommentLabel),
            eventLine(epochLine, layout, kGoFlag, 0)};
}

InsertedBlockFinder::InsertedBlockFinder(const EpochLayout& layout) : layout_(layout) {}

void InsertedBlockFinder::look(std::size_t line, std::string_view text) {
    for (Candidate& candidate : candidates_) {
        if (line == candidate.start + 1 && layout_.version() == 3 &&
            EpochLayout::isSatelliteLine(text))
            candidate.dataEpoch = true;  // a version 3 record of satellites, flagged earlier
        if (line < candidate.recordsEnd && isOurComment(text)) candidate.ours = true;
        if (line == candidate.recordsEnd && candidate.flag == kHeaderRecordsFlag &&
            eventRecords(text, layout_, kGoFlag) == 0)
            candidate.movement = true;
    }
    resolve(line + 1);
    if (line < skipUntil_ || !layout_.mayBeEpoch(text)) return;
    for (const char flag : {kStopFlag, kHeaderRecordsFlag}) {
        const int count = eventRecords(text, layout_, flag);
        if (count < 0) continue;
        candidates_.push_back({line, line + 1 + static_cast<std::size_t>(count), flag});
        break;
    }
}

std::vector<LineRange> InsertedBlockFinder::finish(std::size_t lineCount) {
    resolve(lineCount, true);
    return std::move(blocks_);
}

void InsertedBlockFinder::resolve(std::size_t seen, bool atEnd) {
    while (!candidates_.empty()) {
        const Candidate& front = candidates_.front();
        // All its records seen, and for a flag-4 one the line after them (or the end).
        const std::size_t needed = front.recordsEnd + (front.flag == kHeaderRecordsFlag ? 1 : 0);
        if (seen < needed && !atEnd) return;
        const bool complete = front.recordsEnd <= seen;
        if (complete && front.ours && !front.dataEpoch) {
            const LineRange block{front.start, front.recordsEnd + (front.movement ? 1 : 0)};
            blocks_.push_back(block);
            skipUntil_ = block.end;
            while (!candidates_.empty() && candidates_.front().start < block.end)
                candidates_.pop_front();
        } else {
            candidates_.pop_front();
        }
    }
}

}  // namespace marvolt
