#pragma once
// A Services that records every call in order, so a test reads what the user would have
// seen, line for line.

#include <string>
#include <vector>

#include "result_view.h"
#include "services.h"

namespace marvolt::testing {

class ScriptedServices : public Services {
  public:
    // Every call: "message: <text>", "error: <text>", "busy", "normal",
    // and the ResultView calls of RecordingView when it shares this log.
    std::vector<std::string> log;

    void message(const std::string& text) override;
    void errorBox(const std::string& text) override;
    void busyCursor() override;
    void normalCursor() override;

    // Only the "message: " entries, without the prefix.
    std::vector<std::string> messages() const;
};

// A ResultView that keeps the window's fields and writes every call into a log
// ("report: <line>", "date: ...", "time: ...", "shift: ...", "clear").
class RecordingView : public ResultView {
  public:
    explicit RecordingView(std::vector<std::string>& log) : log_(log) {}

    std::vector<std::string> report;
    std::string date, firstObservation, shift, shiftHint;

    void clearReport() override;
    void addReportLine(const std::string& line) override;
    void showObservationDate(const std::string& text) override;
    void showFirstObservation(const std::string& text) override;
    void showShift(const std::string& text, const std::string& hint) override;

  private:
    std::vector<std::string>& log_;
};

}  // namespace marvolt::testing
