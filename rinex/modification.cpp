#include "modification.h"

#include <functional>
#include <map>
#include <string>

#include "backup_copy.h"
#include "epoch_layout.h"
#include "event_records.h"
#include "failure.h"
#include "file_path.h"
#include "line_list.h"

namespace marvolt {

namespace {

// True when each line is still a data epoch that matches the key it was found by.
bool stillMatch(const LineList& lines, const EpochLayout& layout,
                const std::vector<std::size_t>& found, const std::string& key) {
    for (const std::size_t line : found)
        if (line >= lines.size() || !layout.lineMatches(lines[line], key) ||
            !layout.isDataEpoch(lines, line))
            return false;
    return true;
}

bool resultStillHolds(const AnalysisResult& result, const LineList& lines) {
    for (const PointEpochs& point : result.points)
        if (!stillMatch(lines, result.layout, point.stopLines, point.stopKey) ||
            !stillMatch(lines, result.layout, point.goLines, point.goKey))
            return false;
    return true;
}

// The events at one epoch line, in the order they are written: points in STOP order, a
// point's STOP before its GO.
struct Event {
    Moment moment;
    const std::string* punkt;
};
using EventsByLine = std::map<std::size_t, std::vector<Event>>;

EventsByLine eventsByLine(const AnalysisResult& result) {
    EventsByLine events;
    for (const PointEpochs& point : result.points) {
        for (const std::size_t line : point.stopLines)
            events[line].push_back({Moment::Stop, &point.punkt});
        for (const std::size_t line : point.goLines)
            events[line].push_back({Moment::Go, &point.punkt});
    }
    return events;
}

// The flag an epoch line gets: in the flags style that of its last event (so a line that
// is one point's GO and the next point's STOP ends with 3); in the records style 0 in place
// of a 2 or 3 left by the flags style, so that no epoch is marked twice.
void setEpochFlag(LineList& lines, std::size_t line, const std::vector<Event>& events,
                  EventStyle style, std::size_t flagPosition) {
    if (style == EventStyle::Flags) {
        lines.setByte(line, flagPosition,
                      events.back().moment == Moment::Stop ? kStopFlag : kGoFlag);
    } else {
        const char flag = lines[line][flagPosition];
        if (flag == kStopFlag || flag == kGoFlag) lines.setByte(line, flagPosition, '0');
    }
}

// Every line but the blocks inserted by an earlier run, with the events of the result.
void writeWithEvents(const std::string& file, LineList& lines, const EpochLayout& layout,
                     const EventsByLine& events, EventStyle style) {
    for (const auto& [line, atLine] : events)
        setEpochFlag(lines, line, atLine, style, layout.flagPosition());
    const std::vector<LineRange> dropped = insertedEventBlocks(lines, layout);
    writeLines(file, [&](const std::function<void(std::string_view)>& write) {
        auto block = dropped.begin();
        auto next = events.begin();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (block != dropped.end() && i >= block->first) {
                i = block->end - 1;
                ++block;
                continue;
            }
            if (next != events.end() && next->first == i) {
                if (style == EventStyle::Records)
                    for (const Event& event : next->second)
                        for (const std::string& record :
                             eventBlock(event.moment, *event.punkt, lines[i], layout))
                            write(record);
                ++next;
            }
            write(lines[i]);
        }
    });
}

}  // namespace

bool modifyRinex(const AnalysisResult& result, const ModificationOptions& options,
                 Services& services) {
    if (result.file.empty())
        throw Failure("Nie ma pliku RINEX do modyfikacji: najpierw wykonaj analizę pliku RINEX.");
    const std::string& file = result.file;
    const std::string shownPath = fullPath(file);
    BusyCursor busy(services);  // a day file takes a moment to read and write

    LineList lines = readLines(file);
    if (lines.droppedBytes())
        throw Failure("Plik \"" + shownPath +
                      "\" zawiera znak CR bez LF albo znak 0x1A przed końcem pliku; zapisanie "
                      "go na nowo zgubiłoby dane. Plik nie został zmieniony.");
    if (!resultStillHolds(result, lines))
        throw Failure("Plik \"" + shownPath +
                      "\" zmienił się od analizy. Wykonaj analizę jeszcze raz.");

    // The byte copy of the file as it stands; a copy that fails is reported and the work
    // goes on.
    bool backupMade = true;
    if (options.makeBackup) {
        try {
            makeBackupCopy(file);
        } catch (const Failure&) {
            backupMade = false;
            services.message("UWAGA: Z jakiegoś powodu utworzenie kopii nie powiodło się!");
        }
    }

    writeWithEvents(file, lines, result.layout, eventsByLine(result), options.events);
    busy.restore();
    services.message("Zakończyłem modyfikację pliku " + shownPath);
    return backupMade;
}

}  // namespace marvolt
