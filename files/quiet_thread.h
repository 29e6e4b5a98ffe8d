#pragma once
// A thread of the program's own work that takes none of the signals meant for the program.

#include <functional>
#include <thread>

namespace marvolt {

// Starts `work` in a thread of its own. Where the system sends signals to any thread (POSIX),
// the new thread takes none: they stay with the program's own thread, whose handlers expect
// them. Fails with std::system_error when no thread can be started.
std::thread quietThread(std::function<void()> work);

}  // namespace marvolt
