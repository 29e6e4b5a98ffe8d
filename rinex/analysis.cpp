#include "analysis.h"

#include <cstddef>
#include <string>
#include <vector>

#include "date_time_pattern.h"
#include "epoch_key.h"
#include "line_list.h"
#include "observation_header.h"
#include "text_encoding.h"

namespace marvolt {

namespace {

constexpr const char* kObservationDatePattern = "d mmmm yyyy \"r. (\"dddd\")\"";
constexpr const char* kTimePattern = "H:MM:SS";

// Moves every record's STOP and GO onto the receiver's clock: STOP2 and GO2.
void writeShiftedTimes(TimeTable& table, double shift) {
    const int count = table.recordCount();
    table.first();
    for (int i = 0; i < count; ++i) {
        table.edit();
        table.setTime(Field::Stop2, table.time(Field::Stop) + shift);
        table.setTime(Field::Go2, table.time(Field::Go) + shift);
        table.post();
        table.next();
    }
}

// Reports the epoch lines of one point in file order, STOP before GO on a shared line.
void reportEpochLines(const std::vector<std::size_t>& stops, const std::vector<std::size_t>& goes,
                      const std::string& name, ResultView& view) {
    const auto report = [&](std::size_t line, const char* moment) {
        view.addReportLine("Wiersz " + std::to_string(line + 1) + ": znalazłem obserwację " +
                           moment + " dla punktu " + name);
    };
    std::size_t s = 0, g = 0;
    while (s < stops.size() || g < goes.size()) {
        if (g == goes.size() || (s < stops.size() && stops[s] <= goes[g]))
            report(stops[s++], "STOP");
        else
            report(goes[g++], "GO");
    }
}

// Looks up the STOP2 and GO2 epochs of every point; true when all were found.
bool checkEpochs(TimeTable& table, const EpochIndex& index, double observationDate,
                 ResultView& view, Services& services) {
    const std::string date = datePiece(observationDate);
    bool allFound = true;
    const int count = table.recordCount();
    table.first();
    for (int i = 0; i < count; ++i) {
        const auto stops = index.linesMatching(epochKey(date, table.time(Field::Stop2)));
        const auto goes = index.linesMatching(epochKey(date, table.time(Field::Go2)));
        const std::string name = cp1250ToUtf8(table.text(Field::Punkt));
        reportEpochLines(stops, goes, name, view);
        if (stops.empty())
            services.message("Nie znalazłem w RINEX obserwacji STOP dla punktu " + name + ".");
        if (goes.empty())
            services.message("Nie znalazłem w RINEX obserwacji GO dla punktu " + name + ".");
        allFound = allFound && !stops.empty() && !goes.empty();
        table.next();
    }
    return allFound;
}

}  // namespace

AnalysisOutcome analyseRinex(TimeTable& table, WorkState& state, ResultView& view,
                             Services& services) {
    const auto file = services.chooseFile(kRinexFilter);
    if (!file) return AnalysisOutcome::Cancelled;

    BusyCursor busy(services);
    view.clearReport();
    LineList lines;
    const EpochIndex index = EpochIndex::readFile(*file, lines);

    const LocaleSettings& locale = table.locale();
    const FirstObservation first = findFirstObservation(lines, state.observationDate);
    if (first.found) {
        view.showObservationDate(
            formatDateTime(kObservationDatePattern, state.observationDate, locale));
        view.showFirstObservation(formatDateTime(kTimePattern, first.time, locale));
    }

    // The first STOP in STOP order is taken as the moment the receiver started logging.
    table.first();
    const double shift = first.time - table.time(Field::Stop);
    view.showShift(formatDateTime(kTimePattern, shift, locale));
    writeShiftedTimes(table, shift);

    const bool allFound = checkEpochs(table, index, state.observationDate, view, services);
    state.analysedFile = *file;
    state.analysedDate = state.observationDate;
    if (!allFound) {
        services.message("Tabela czasów zawiera błędy! Popraw je i zrób jeszcze raz analizę.");
        view.setModifyEnabled(false);
        return AnalysisOutcome::MissingEpochs;
    }
    services.message("Nie znalazłem żadnych błedów w tabeli czasów. Możesz zmodyfikować RINEX.");
    view.setModifyEnabled(true);
    return AnalysisOutcome::NoErrors;
}

}  // namespace marvolt
