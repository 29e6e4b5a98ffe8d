#pragma once
// The signals that end the program, held back while a temporary name is made.

#include <signal.h>

namespace marvolt {

// Holds back, while it lives, the signals that end the program and that TemporaryFile
// catches, so that a few steps that would leave a name behind if cut short run as one.
class EndingSignalsHeld {
  public:
    EndingSignalsHeld();
    ~EndingSignalsHeld();
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

  private:
    sigset_t previous_;
};

}  // namespace marvolt
