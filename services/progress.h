#pragma once
// How far a long operation (the analysis, the modification of a day's file) has come, and
// the user's wish to stop it: the window shows a progress dialog with "Przerwij",
// marvolt-cli a line on a terminal, tests record it; Progress::none() shows nothing and
// never stops, so an operation run without one does what it always did.

#include <cstdint>

namespace marvolt {

// How many bytes of a file a reading goes through between two looks at its progress: a
// few milliseconds' work.
inline constexpr std::uint64_t kProgressStep = std::uint64_t{4} << 20;

class Progress {
  public:
    virtual ~Progress() = default;

    // The share of the work done, from 0 to 1, told every few megabytes (1 when the reading
    // and writing are done). Called on the thread that does the work.
    virtual void advance(double /*share*/) {}
    // Asked between steps of the work: true once the user asked it to stop.
    virtual bool stopRequested() { return false; }
    // Asked once the work is about to pass the point from which it can no longer be
    // stopped (a backup and a rename are never left half-done): true when it may go on,
    // after which a stop is refused; false when a stop was asked first.
    virtual bool passPointOfNoReturn() { return !stopRequested(); }

    // Shows nothing, never stops.
    static Progress& none();
};

}  // namespace marvolt
