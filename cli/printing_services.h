#pragma once
// The window's services and result fields for the command line: everything the user would
// see is printed.

#include <ostream>
#include <string>

#include "analysis.h"
#include "analysis_report.h"
#include "services.h"

namespace marvolt::cli {

// Messages go to `out`, one line each; the error box to `err` after `out` is flushed, so
// the order holds on a terminal that shows both. The cursor prints nothing.
class PrintingServices : public Services {
  public:
    PrintingServices(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    void message(const std::string& text) override;
    void errorBox(const std::string& text) override;
    void busyCursor() override {}
    void normalCursor() override {}

  private:
    std::ostream& out_;
    std::ostream& err_;
};

// Prints the result fields, each after the text of its label in the window ("RINEX: Data
// pomiaru 3 April 2012 r. (Tuesday)"), and the report lines, one line each.
class PrintingView {
  public:
    explicit PrintingView(std::ostream& out) : out_(out) {}

    // The fields there are (a shift alone when it was given rather than analysed).
    void showFields(const AnalysisFields& fields);
    void showShift(const std::string& text);
    void addReportLine(const std::string& line);

  private:
    std::ostream& out_;
};

// The analysis as the window runs it, printed: the fields, STOP2 and GO2 written into the
// table, then the report lines with the messages. `progress` follows the reading.
AnalysisResult printedAnalysis(const std::string& path, TimeTable& table, HeldDate& held,
                               PrintingView& view, Services& services,
                               Progress& progress = Progress::none());

}  // namespace marvolt::cli
