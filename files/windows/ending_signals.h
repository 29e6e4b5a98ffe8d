#pragma once
// Ctrl+C, Ctrl+Break and the closing of the console held back while a temporary name is
// made: the console's handler, which removes the temporary files, waits until it is known.

namespace marvolt {

class EndingSignalsHeld {
  public:
    EndingSignalsHeld();
    ~EndingSignalsHeld();
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;
};

}  // namespace marvolt
