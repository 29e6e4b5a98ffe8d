#pragma once
// The window's services and result fields for the command line: the dialogs are answered
// with the files named on the command line, everything the user would see is printed.

#include <deque>
#include <ostream>
#include <string>

#include "services.h"
#include "work_state.h"

namespace marvolt::cli {

// Messages go to `out`, one line each; the error box to `err` after `out` is flushed, so
// the order holds on a terminal that shows both. The cursor prints nothing.
class PrintingServices : public Services {
  public:
    // `answers`: the files the dialogs are given, in order; a dialog beyond them is cancelled.
    PrintingServices(std::ostream& out, std::ostream& err, std::deque<std::string> answers);

    std::optional<std::string> chooseFile(const std::string& filter) override;
    void message(const std::string& text) override;
    void errorBox(const std::string& text) override;
    void busyCursor() override {}
    void normalCursor() override {}

  private:
    std::ostream& out_;
    std::ostream& err_;
    std::deque<std::string> answers_;
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
    void showShift(const std::string& text) override;
    void setModifyEnabled(bool) override {}

  private:
    std::ostream& out_;
};

}  // namespace marvolt::cli
