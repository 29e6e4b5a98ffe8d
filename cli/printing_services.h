#pragma once
// The window's services and result fields for the command line: everything the user would
// see is printed.

#include <ostream>
#include <string>

#include "result_view.h"
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

// Prints every report line as it is added and every result field as it is set, after the
// text of its label in the window ("RINEX: Data pomiaru 3 April 2012 r. (Tuesday)").
class PrintingView : public ResultView {
  public:
    explicit PrintingView(std::ostream& out) : out_(out) {}

    void clearReport() override {}
    void addReportLine(const std::string& line) override;
    void showObservationDate(const std::string& text) override;
    void showFirstObservation(const std::string& text) override;
    void showShift(const std::string& text, const std::string& hint) override;

  private:
    std::ostream& out_;
};

}  // namespace marvolt::cli
