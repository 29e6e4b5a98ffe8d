#include "event_records.h"

#include "observation_header.h"

namespace marvolt {

namespace {

constexpr std::size_t kHeaderTextLength = 60;  // a header record's text, before its label
constexpr std::string_view kMarkerNameLabel = "MARKER NAME";
constexpr std::string_view kCommentLabel = "COMMENT";

std::string headerRecord(std::string text, std::string_view label) {
    text.resize(kHeaderTextLength, ' ');
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

bool isComment(std::string_view line) {
    return line.size() > kHeaderLabelPosition &&
           line.substr(kHeaderLabelPosition, kCommentLabel.size()) == kCommentLabel;
}

// The record count of line i when it is an event line of this flag (no data epoch, nothing
// after its count); -1 otherwise.
int eventRecords(const LineList& lines, std::size_t i, const EpochLayout& layout, char flag) {
    const std::string_view line = lines[i];
    const std::size_t countEnd = layout.countPosition() + kEpochCountLength;
    if (line.size() < countEnd || line[layout.flagPosition()] != flag || !layout.epochCode(line) ||
        layout.isDataEpoch(lines, i))
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

std::vector<LineRange> insertedEventBlocks(const LineList& lines, const EpochLayout& layout) {
    std::vector<LineRange> blocks;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (const char flag : {kStopFlag, kHeaderRecordsFlag}) {
            const int count = eventRecords(lines, i, layout, flag);
            if (count < 0 || i + static_cast<std::size_t>(count) >= lines.size()) continue;
            std::size_t end = i + 1 + static_cast<std::size_t>(count);
            bool ours = false;
            for (std::size_t r = i + 1; r < end; ++r)
                ours = ours || (isComment(lines[r]) &&
                                lines[r].substr(0, kEventComment.size()) == kEventComment);
            if (!ours) continue;
            if (flag == kHeaderRecordsFlag && end < lines.size() &&
                eventRecords(lines, end, layout, kGoFlag) == 0)
                ++end;
            blocks.push_back({i, end});
            i = end - 1;
            break;
        }
    }
    return blocks;
}

}  // namespace marvolt
