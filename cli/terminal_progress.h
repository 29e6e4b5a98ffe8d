#pragma once
// The progress of a long step on a terminal: one line on standard error, "Analiza: 42%",
// drawn again after a CR as the share grows and wiped with blanks and a CR when the step is
// done. Where standard error is no terminal (a pipe, a file, a test) nothing is drawn, so
// what is printed stays byte for byte what it was.

#include <ostream>
#include <string>

#include "progress.h"

namespace marvolt::cli {

class TerminalProgress : public Progress {
  public:
    // `label`: "Analiza" or "Modyfikacja"; draws on `err` only when `shown`.
    TerminalProgress(const char* label, std::ostream& err, bool shown)
        : label_(label), err_(err), shown_(shown) {}
    // Wipes the line (a step that ended with an error), before the error is printed.
    ~TerminalProgress() override { wipe(); }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // Draws the share in whole percent when it changed; a share of 1 wipes the line.
    void advance(double share) override;

  private:
    void wipe();

    std::string label_;
    std::ostream& err_;
    bool shown_;
    int percent_ = -1;           // the percent drawn, -1 when nothing is
    std::size_t drawnSize_ = 0;  // the length of the line drawn
};

}  // namespace marvolt::cli
