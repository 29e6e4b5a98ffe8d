#include "printing_services.h"

namespace marvolt::cli {

namespace {

// The labels of the window's result fields, each ending in its blank.
const char* const kDateLabel = "RINEX: Data pomiaru ";
const char* const kFirstObservationLabel = "RINEX: Początek pierwszej obserwacji (GMT) ";
const char* const kShiftLabel = "Przesunięcie między zegarkiem a GMT ";

}  // namespace

void PrintingServices::message(const std::string& text) { out_ << text << '\n'; }

void PrintingServices::errorBox(const std::string& text) {
    out_.flush();
    err_ << text << '\n';
    err_.flush();
}

void PrintingView::addReportLine(const std::string& line) { out_ << line << '\n'; }

void PrintingView::showFields(const AnalysisFields& fields) {
    if (fields.observationDate) out_ << kDateLabel << *fields.observationDate << '\n';
    if (fields.firstObservation) out_ << kFirstObservationLabel << *fields.firstObservation << '\n';
    showShift(fields.shift);
}

void PrintingView::showShift(const std::string& text) { out_ << kShiftLabel << text << '\n'; }

AnalysisResult printedAnalysis(const std::string& path, TimeTable& table, HeldDate& held,
                               PrintingView& view, Services& services, Progress& progress) {
    BusyCursor busy(services);
    AnalysisResult result = analyseRinex(path, table, held, progress);
    view.showFields(analysisFields(result, table.locale()));
    writeShiftedTimes(result, table);
    showReport(result, services, [&view](const std::string& line) { view.addReportLine(line); });
    return result;
}

}  // namespace marvolt::cli
