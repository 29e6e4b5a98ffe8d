#include "analysis.h"

#include <cstddef>
#include <string>
#include <vector>

#include "date_time.h"
#include "date_time_pattern.h"
#include "epoch_key.h"
#include "line_list.h"
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

// Which way the watch was off: the shown shift has no sign.
std::string shiftHint(const std::string& shiftText, double shift) {
    if (millisecondsOfDay(shift) == 0) return {};
    return "Zegarek wskazuje o " + shiftText + (shift > 0 ? " mniej" : " więcej") +
           " niż odbiornik (GMT).";
}

std::vector<std::size_t> linesOf(const EpochIndex& index, const std::string& key) {
    return key.empty() ? std::vector<std::size_t>{} : index.linesMatching(key);
}

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

// Looks up the STOP and GO epochs of every record, reporting as it goes.
std::vector<PointEpochs> findEpochs(const TimeTable& table, const EpochIndex& index,
                                    double observationDate, double shift, ResultView& view,
                                    Services& services) {
    const std::string date = index.layout().datePiece(observationDate);
    std::vector<PointEpochs> points;
    MessageSeries misses(services);
    for (int i = 0; i < table.recordCount(); ++i) {
        const TimeRecord& record = table.record(i);
        PointEpochs point;
        point.record = static_cast<std::size_t>(i);
        point.punkt = record.punkt;
        point.stopKey = receiverKey(date, record.time(Field::Stop), shift);
        point.goKey = receiverKey(date, record.time(Field::Go), shift);
        point.stopLines = linesOf(index, point.stopKey);
        point.goLines = linesOf(index, point.goKey);
        const std::string name = cp1250ToUtf8(point.punkt);
        reportEpochLines(point, name, view);
        if (point.stopLines.empty())
            misses.show("Nie znalazłem w RINEX obserwacji STOP dla punktu " + name + ".");
        if (point.goLines.empty())
            misses.show("Nie znalazłem w RINEX obserwacji GO dla punktu " + name + ".");
        points.push_back(std::move(point));
    }
    return points;
}

}  // namespace

AnalysisResult analyseRinex(const std::string& path, TimeTable& table, double& observationDate,
                            ResultView& view, Services& services) {
    BusyCursor busy(services);
    view.clearReport();
    LineList lines;
    const EpochIndex index = EpochIndex::readFile(path, lines);

    const LocaleSettings& locale = table.locale();
    const FirstObservation first = findFirstObservation(lines, observationDate);
    if (first.found) {
        view.showObservationDate(formatDateTime(kObservationDatePattern, observationDate, locale));
        view.showFirstObservation(formatDateTime(kTimePattern, first.time, locale));
    }

    // The first STOP in STOP order is taken as the moment the receiver started logging.
    table.first();
    const double shift = first.time - table.time(Field::Stop);
    const std::string shiftText = formatDateTime(kTimePattern, shift, locale);
    view.showShift(shiftText, shiftHint(shiftText, shift));
    table.setShiftedTimes(shift);
    table.last();

    AnalysisResult result;
    result.file = path;
    result.identity = lines.identity();
    result.observationDate = observationDate;
    result.layout = index.layout();
    result.points = findEpochs(table, index, observationDate, shift, view, services);
    if (result.allFound())
        services.message(
            "Nie znalazłem żadnych błedów w tabeli czasów. Możesz zmodyfikować RINEX.");
    else
        services.message("Tabela czasów zawiera błędy! Popraw je i zrób jeszcze raz analizę.");
    return result;
}

}  // namespace marvolt
