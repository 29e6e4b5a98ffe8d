#include "quiet_thread.h"

namespace marvolt {

// Windows sends no signals to threads: Ctrl+C comes to a thread of the console's own.
std::thread quietThread(std::function<void()> work) { return std::thread(std::move(work)); }

}  // namespace marvolt
