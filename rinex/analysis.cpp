#include "analysis.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "date_time.h"
#include "date_time_pattern.h"
#include "epoch_key.h"
#include "epoch_scan.h"
#include "event_records.h"
#include "observation_header.h"
#include "text_encoding.h"

namespace marvolt {

namespace {

constexpr const char* kObservationDatePattern = "d mmmm yyyy \"r. (\"dddd\")\"";
constexpr const char* kTimePattern = "H:MM:SS";

// The key of a watch time moved onto the receiver's clock; none when the receiver time is
// below zero, which no epoch of the observation date has.
std::string receiverKey(const std::string& date, const std::optional<std::int32_t>& watch,
                        double shift) {
    const double time = (watch ? timeValue(*watch) : 0.0) + shift;
    if (time * kMillisecondsPerDay <= -0.5) return {};
    return epochKey(date, time);
}

// The STOP of the first record in STOP order: the moment the receiver started logging (an
// empty STOP, or an empty table, reads 00:00:00).
double firstStop(const TimeTable& table) {
    if (table.recordCount() == 0) return 0.0;
    const auto& stop = table.record(0).time(Field::Stop);
    return stop ? timeValue(*stop) : 0.0;
}

// Which way the watch was off: the shown shift has no sign.
std::string shiftHint(const std::string& shiftText, double shift) {
    if (millisecondsOfDay(shift) == 0) return {};
    return "Zegarek wskazuje o " + shiftText + (shift > 0 ? " mniej" : " więcej") +
           " niż odbiornik (GMT).";
}

// The STOP and GO keys of every record, and the data epochs found for them as the file goes
// by.
class EpochMatcher {
  public:
    EpochMatcher(const TimeTable& table, const EpochLayout& layout, double observationDate,
                 double shift) {
        const std::string date = layout.datePiece(observationDate);
        for (int i = 0; i < table.recordCount(); ++i) {
            const TimeRecord& record = table.record(i);
            PointEpochs point;
            point.record = static_cast<std::size_t>(i);
            point.punkt = record.punkt;
            point.stopKey = receiverKey(date, record.time(Field::Stop), shift);
            point.goKey = receiverKey(date, record.time(Field::Go), shift);
            want(layout, point.stopKey, points_.size(), Moment::Stop);
            want(layout, point.goKey, points_.size(), Moment::Go);
            points_.push_back(std::move(point));
        }
    }

    void add(const ScannedEpoch& epoch, AnalysisResult& result) {
        if (!mayBeWanted(epoch.code)) return;
        const auto wanted = wanted_.find(epoch.code);
        if (wanted == wanted_.end()) return;
        for (const auto& [point, moment] : wanted->second)
            (moment == Moment::Stop ? points_[point].stopLines : points_[point].goLines)
                .push_back(epoch.line);
        result.epochOffsets[epoch.line] = epoch.offset;
    }

    std::vector<PointEpochs> takePoints() { return std::move(points_); }

  private:
    void want(const EpochLayout& layout, const std::string& key, std::size_t point, Moment moment) {
        if (key.empty()) return;
        const auto code = layout.epochCode(key);
        if (!code) return;
        wanted_[*code].emplace_back(point, moment);
        const std::size_t bit = filterBit(*code);
        filter_[bit / 64] |= std::uint64_t{1} << (bit % 64);
    }

    // A quick no for most of the codes no key has: a day holds tens of thousands of epochs,
    // a survey a few hundred points. One bit for the keys whose codes share it.
    static constexpr unsigned kFilterBitsLog2 = 14;
    static std::size_t filterBit(std::uint64_t code) {
        return static_cast<std::size_t>((code * 0x9E3779B97F4A7C15u) >> (64 - kFilterBitsLog2));
    }
    bool mayBeWanted(std::uint64_t code) const {
        const std::size_t bit = filterBit(code);
        return (filter_[bit / 64] >> (bit % 64)) & 1u;
    }

    std::vector<std::uint64_t> filter_ = std::vector<std::uint64_t>((1u << kFilterBitsLog2) / 64);
    std::vector<PointEpochs> points_;
    std::unordered_map<std::uint64_t, std::vector<std::pair<std::size_t, Moment>>> wanted_;
};

// Reports the epoch lines of one point in file order, STOP before GO on a shared line.
void reportEpochLines(const PointEpochs& point, const std::string& name, ResultView& view) {
    const auto report = [&](std::size_t line, const char* moment) {
        view.addReportLine("Wiersz " + std::to_string(line + 1) + ": znalazłem obserwację " +
                           moment + " dla punktu " + name);
    };
    const auto& stops = point.stopLines;
    const auto& goes = point.goLines;
    std::size_t s = 0, g = 0;
    while (s < stops.size() || g < goes.size()) {
        if (g == goes.size() || (s < stops.size() && stops[s] <= goes[g]))
            report(stops[s++], "STOP");
        else
            report(goes[g++], "GO");
    }
}

// Reports the epochs found for every record, and what is missing.
void reportEpochs(const std::vector<PointEpochs>& points, ResultView& view, Services& services) {
    MessageSeries misses(services);
    for (const PointEpochs& point : points) {
        const std::string name = cp1250ToUtf8(point.punkt);
        reportEpochLines(point, name, view);
        if (point.stopLines.empty())
            misses.show("Nie znalazłem w RINEX obserwacji STOP dla punktu " + name + ".");
        if (point.goLines.empty())
            misses.show("Nie znalazłem w RINEX obserwacji GO dla punktu " + name + ".");
    }
}

}  // namespace

AnalysisResult analyseRinex(const std::string& path, TimeTable& table, double& observationDate,
                            ResultView& view, Services& services, TableCursor* cursor) {
    BusyCursor busy(services);
    view.clearReport();

    // The file goes by once: the header's first observation gives the keys, the data epochs
    // after it are matched as they come. Only when epochs come before that record (or
    // there is none) is a second pass needed.
    AnalysisResult result;
    result.file = path;
    FirstObservation first;
    double shift = 0.0;
    std::optional<EpochMatcher> matcher;
    bool epochsBeforeKeys = false;
    const auto prepareKeys = [&](const EpochLayout& layout) {
        // The first STOP in STOP order is taken as the moment the receiver started logging.
        if (cursor)
            cursor->first();
        else
            table.finishRecord();
        shift = first.time - firstStop(table);
        matcher.emplace(table, layout, observationDate, shift);
    };
    std::optional<InsertedBlockFinder> blocks;
    // Once the first observation is known, only the event blocks need lines other than the
    // epoch lines.
    const auto findBlocks = [&](std::size_t line, std::string_view text,
                                const EpochLayout& layout) {
        if (line == 0) blocks.emplace(layout);
        blocks->add(line, text);
        return blocks->needsEveryLine() ? NextLines::Every : NextLines::EpochShaped;
    };
    const auto visitLine = [&](std::size_t line, std::string_view text, const EpochLayout& layout) {
        const NextLines next = findBlocks(line, text, layout);
        if (first.found) return next;
        if (!isFirstObservationRecord(text)) return NextLines::Every;
        first = {true, readFirstObservation(text, observationDate)};
        if (epochsBeforeKeys) return NextLines::None;
        prepareKeys(layout);
        return next;
    };
    ScanOutcome outcome = scanEpochs(path, visitLine, [&](const ScannedEpoch& epoch) {
        if (matcher)
            matcher->add(epoch, result);
        else
            epochsBeforeKeys = true;
    });
    if (!matcher) prepareKeys(*outcome.layout);
    if (!outcome.complete || epochsBeforeKeys) {
        outcome = scanEpochs(path, findBlocks,
                             [&](const ScannedEpoch& epoch) { matcher->add(epoch, result); });
    }

    const LocaleSettings& locale = table.locale();
    if (first.found) {
        view.showObservationDate(formatDateTime(kObservationDatePattern, observationDate, locale));
        view.showFirstObservation(formatDateTime(kTimePattern, first.time, locale));
    }
    const std::string shiftText = formatDateTime(kTimePattern, shift, locale);
    view.showShift(shiftText, shiftHint(shiftText, shift));
    table.setShiftedTimes(shift);
    if (cursor) cursor->last();

    result.identity = outcome.identity;
    result.observationDate = observationDate;
    result.layout = *outcome.layout;
    result.writtenBackAsIs = outcome.writtenBackAsIs;
    result.insertedBlocks = blocks ? blocks->finish(outcome.lines) : std::vector<LineRange>{};
    result.points = matcher->takePoints();
    reportEpochs(result.points, view, services);
    if (result.allFound())
        services.message(
            "Nie znalazłem żadnych błedów w tabeli czasów. Możesz zmodyfikować RINEX.");
    else
        services.message("Tabela czasów zawiera błędy! Popraw je i zrób jeszcze raz analizę.");
    return result;
}

}  // namespace marvolt
