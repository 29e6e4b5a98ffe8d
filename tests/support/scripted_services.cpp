#include "scripted_services.h"

namespace marvolt::testing {

void ScriptedServices::message(const std::string& text) { log.push_back("message: " + text); }
void ScriptedServices::errorBox(const std::string& text) { log.push_back("error: " + text); }
void ScriptedServices::busyCursor() { log.push_back("busy"); }
void ScriptedServices::normalCursor() { log.push_back("normal"); }

std::vector<std::string> ScriptedServices::messages() const {
    const std::string prefix = "message: ";
    std::vector<std::string> result;
    for (const auto& entry : log)
        if (entry.compare(0, prefix.size(), prefix) == 0)
            result.push_back(entry.substr(prefix.size()));
    return result;
}

void RecordingView::clearReport() {
    report.clear();
    log_.push_back("clear");
}
void RecordingView::addReportLine(const std::string& line) {
    report.push_back(line);
    log_.push_back("report: " + line);
}
void RecordingView::showObservationDate(const std::string& text) {
    date = text;
    log_.push_back("date: " + text);
}
void RecordingView::showFirstObservation(const std::string& text) {
    firstObservation = text;
    log_.push_back("time: " + text);
}
void RecordingView::showShift(const std::string& text, const std::string& hint) {
    shift = text;
    shiftHint = hint;
    log_.push_back("shift: " + text);
}

}  // namespace marvolt::testing
