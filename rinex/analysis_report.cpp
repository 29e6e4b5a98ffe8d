#include "analysis_report.h"

#include <cstddef>
#include <vector>

#include "date_time.h"
#include "date_time_pattern.h"
#include "text_encoding.h"

namespace marvolt {

namespace {

constexpr const char* kObservationDatePattern = "d mmmm yyyy \"r. (\"dddd\")\"";
constexpr const char* kTimePattern = "H:MM:SS";

// Which way the watch was off: the shown shift has no sign.
std::string shiftHint(const std::string& shiftText, double shift) {
    if (millisecondsOfDay(shift) == 0) return {};
    return "Zegarek wskazuje o " + shiftText + (shift > 0 ? " mniej" : " więcej") +
           " niż odbiornik (GMT).";
}

std::string earlierMarksLine(std::size_t marks) {
    return "UWAGA: Plik ma już znaczniki Stop & Go z wcześniejszej modyfikacji (" +
           std::to_string(marks) + "); modyfikacja zastąpi je nowymi.";
}

// The epoch lines of one point in file order, STOP before GO on a shared line.
void addEpochLines(const PointEpochs& point, const std::string& name,
                   const std::function<void(const std::string&)>& addLine) {
    const auto add = [&](std::size_t line, const char* moment) {
        addLine("Wiersz " + std::to_string(line + 1) + ": znalazłem obserwację " + moment +
                " dla punktu " + name);
    };
    const auto& stops = point.stopLines;
    const auto& goes = point.goLines;
    std::size_t s = 0, g = 0;
    while (s < stops.size() || g < goes.size()) {
        if (g == goes.size() || (s < stops.size() && stops[s] <= goes[g]))
            add(stops[s++], "STOP");
        else
            add(goes[g++], "GO");
    }
}

void showMiss(const Miss& miss, const std::string& name, MessageSeries& series) {
    if (miss.stop) series.show("Nie znalazłem w RINEX obserwacji STOP dla punktu " + name + ".");
    if (miss.go) series.show("Nie znalazłem w RINEX obserwacji GO dla punktu " + name + ".");
}

}  // namespace

std::string shiftText(double shift, const LocaleSettings& locale) {
    return formatDateTime(kTimePattern, shift, locale);
}

AnalysisFields analysisFields(const AnalysisResult& result, const LocaleSettings& locale) {
    AnalysisFields fields;
    if (result.firstObservation.found) {
        fields.observationDate =
            formatDateTime(kObservationDatePattern, result.observationDate, locale);
        fields.firstObservation =
            formatDateTime(kTimePattern, result.firstObservation.time, locale);
    }
    fields.shift = shiftText(result.shift, locale);
    fields.shiftHint = shiftHint(fields.shift, result.shift);
    return fields;
}

void showReport(const AnalysisResult& result, Services& services,
                const std::function<void(const std::string&)>& addLine) {
    if (result.earlierMarks() > 0) addLine(earlierMarksLine(result.earlierMarks()));
    const std::vector<Miss> misses = result.misses();
    auto miss = misses.begin();
    MessageSeries series(services);
    for (std::size_t i = 0; i < result.points.size(); ++i) {
        const std::string name = cp1250ToUtf8(result.points[i].punkt);
        addEpochLines(result.points[i], name, addLine);
        if (miss != misses.end() && miss->point == i) showMiss(*miss++, name, series);
    }
    if (misses.empty())
        services.message(
            "Nie znalazłem żadnych błedów w tabeli czasów. Możesz zmodyfikować RINEX.");
    else
        services.message("Tabela czasów zawiera błędy! Popraw je i zrób jeszcze raz analizę.");
}

}  // namespace marvolt
