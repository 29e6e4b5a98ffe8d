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
void RecordingView::showFields(const AnalysisFields& fields) {
    if (fields.observationDate) {
        date = *fields.observationDate;
        log_.push_back("date: " + date);
    }
    if (fields.firstObservation) {
        firstObservation = *fields.firstObservation;
        log_.push_back("time: " + firstObservation);
    }
    shift = fields.shift;
    shiftHint = fields.shiftHint;
    log_.push_back("shift: " + shift);
}

AnalysisResult analyseIntoView(const std::string& path, TimeTable& table, HeldDate& held,
                               RecordingView& view, Services& services) {
    BusyCursor busy(services);
    view.clearReport();
    AnalysisResult result = analyseRinex(path, table, held);
    view.showFields(analysisFields(result, table.locale()));
    writeShiftedTimes(result, table);
    showReport(result, services, [&view](const std::string& line) { view.addReportLine(line); });
    return result;
}

}  // namespace marvolt::testing
