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

void PrintingView::showObservationDate(const std::string& text) {
    out_ << kDateLabel << text << '\n';
}

void PrintingView::showFirstObservation(const std::string& text) {
    out_ << kFirstObservationLabel << text << '\n';
}

void PrintingView::showShift(const std::string& text, const std::string&) {
    out_ << kShiftLabel << text << '\n';
}

}  // namespace marvolt::cli
