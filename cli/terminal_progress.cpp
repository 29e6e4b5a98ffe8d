#include "terminal_progress.h"

namespace marvolt::cli {

void TerminalProgress::advance(double share) {
    if (!shown_) return;
    if (share >= 1.0) {
        wipe();
        return;
    }
    const int percent = static_cast<int>(share * 100.0);
    if (percent == percent_) return;
    percent_ = percent;
    const std::string line = label_ + ": " + std::to_string(percent) + "%";
    err_ << '\r' << line << std::flush;
    drawnSize_ = line.size();
}

void TerminalProgress::wipe() {
    if (percent_ < 0) return;
    err_ << '\r' << std::string(drawnSize_, ' ') << '\r' << std::flush;
    percent_ = -1;
}

}  // namespace marvolt::cli
