#pragma once
// A Services that records every call in order, so a test reads what the user would have
// seen, line for line.

#include <string>
#include <vector>

#include "analysis.h"
#include "analysis_report.h"
#include "services.h"

namespace marvolt::testing {

class ScriptedServices : public Services {
  public:
    // Every call: "message: <text>", "error: <text>", "busy", "normal",
    // and what RecordingView is given when it shares this log.
    std::vector<std::string> log;

    void message(const std::string& text) override;
    void errorBox(const std::string& text) override;
    void busyCursor() override;
    void normalCursor() override;

    // Only the "message: " entries, without the prefix.
    std::vector<std::string> messages() const;
};

// Keeps the window's result fields and report box as an analysis fills them, and writes
// what it is given into a log ("clear", "date: ...", "time: ...", "shift: ...",
// "report: <line>").
class RecordingView {
  public:
    explicit RecordingView(std::vector<std::string>& log) : log_(log) {}

    std::vector<std::string> report;
    std::string date, firstObservation, shift, shiftHint;

    void clearReport();
    void addReportLine(const std::string& line);
    // The fields there are, in the window's order: date, first observation, shift.
    void showFields(const AnalysisFields& fields);

  private:
    std::vector<std::string>& log_;
};

// The analysis as the window runs it, into `view`: under the busy cursor the report box
// cleared (also when the analysis then fails), the analysis, its fields, STOP2 and GO2
// written into the table, the table's cursor on the last record, the report lines with the
// messages.
AnalysisResult analyseIntoView(const std::string& path, TimeTable& table, HeldDate& held,
                               RecordingView& view, Services& services);

}  // namespace marvolt::testing
